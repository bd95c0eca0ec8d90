#pragma once
// How politely the link check asks: the limits per host and overall. Tests
// and benchmarks shorten the times; the program uses the defaults.
namespace vorlix {

struct PacingRules {
  int connectionsPerHost = 2;
  int requestIntervalMs = 1000;  // between two new requests to one host
  int maxHosts = 16;             // hosts being asked at once
  int timeoutMs = 20000;         // no byte for this long: the host is unreachable
  int maxRetryAfterMs = 120000;  // a longer Retry-After is not waited for
  int maxRetries = 2;            // Retry-After answers honoured per link
  int maxRedirects = 10;
  // A connection we closed (a time-out, enough of a body) may still look
  // open to the server for a moment; its place stays taken for this long.
  int closeGraceMs = 100;
};

}  // namespace vorlix

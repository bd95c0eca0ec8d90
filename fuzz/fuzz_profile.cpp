// Profile strings: on any file content, a value written reads back as the
// same value gives in a file of its own. Input: value, NUL, file content.
#include <QCoreApplication>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/ProfileStrings.h"

using namespace vorlix;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static QCoreApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  const size_t nul = in.find('\0');
  if (nul == std::string_view::npos) return 0;
  const std::string_view value = in.substr(0, nul);
  if (value.find_first_of("\r\n") != std::string_view::npos) return 0;  // refused on write
  const QByteArray content(in.data() + nul + 1, qsizetype(size - nul - 1));
  constexpr std::string_view section = "VorlixsPaths";
  constexpr std::string_view key = "Vorlixs.exe";

  const QByteArray out = withProfileString(content, section, key, value);
  QByteArray alone = "[VorlixsPaths]\r\nVorlixs.exe=";
  alone += QByteArray(value.data(), qsizetype(value.size()));
  alone += "\r\n";
  const int whole = int(value.size()) + 1;
  if (profileStringIn(out, section, key, "\n", whole) !=
      profileStringIn(alone, section, key, "\n", whole))
    std::abort();
  // Reading other names of the file must end too.
  profileStringIn(content, "InternetShortcut", "URL", "", 2048);
  return 0;
}

#pragma once
// The few libgit2 calls the Git target makes: a bare cache repository, and
// one remote's refs listed, fetched and pushed with the user's name and
// password (or the SSH agent). Every call blocks: run it off the window's
// thread.
#include <git2.h>

#include <QByteArray>
#include <QString>
#include <map>
#include <memory>

namespace vorlix::sync {

struct GitFree {
  void operator()(git_repository* p) const { git_repository_free(p); }
  void operator()(git_remote* p) const { git_remote_free(p); }
  void operator()(git_commit* p) const { git_commit_free(p); }
  void operator()(git_tree* p) const { git_tree_free(p); }
  void operator()(git_tree_entry* p) const { git_tree_entry_free(p); }
  void operator()(git_blob* p) const { git_blob_free(p); }
  void operator()(git_signature* p) const { git_signature_free(p); }
  void operator()(git_reference* p) const { git_reference_free(p); }
  void operator()(git_treebuilder* p) const { git_treebuilder_free(p); }
};
template <class T>
using GitPtr = std::unique_ptr<T, GitFree>;

class GitRemote {
 public:
  GitRemote(QString url, QString user, QString password);
  ~GitRemote();

  // Opens the bare repository in `folder`, making it when there is none.
  bool open(const QString& folder, QString& error);
  git_repository* repo() const { return repo_.get(); }

  // The remote's refs below `prefix` (full names), each with its object.
  bool list(const QString& prefix, std::map<QString, git_oid>& refs, QString& error);
  // Brings the objects of the remote's `ref` into the cache.
  bool fetch(const QString& ref, QString& error);
  // Pushes `refspec` (never forced: no "+"). `rejected` tells a refusal
  // because the remote ref moved on (not a fast-forward).
  bool push(const QString& refspec, bool& rejected, QString& error);

  // The URL without a password, for messages.
  QString shown() const { return url_; }

 private:
  friend int gitCredentials(git_credential**, const char*, const char*, unsigned int, void*);
  friend int gitPushStatus(const char*, const char*, void*);
  QString failure(int code, const char* what) const;
  git_remote_callbacks callbacks();

  QString url_;
  QString user_;
  QString password_;
  GitPtr<git_repository> repo_;
  GitPtr<git_remote> remote_;
  int asked_ = 0;    // credential requests in the current call
  QString refusal_;  // the server's reason for refusing a pushed ref
};

}  // namespace vorlix::sync

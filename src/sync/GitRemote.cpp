#include "sync/GitRemote.h"

#include <QDir>
#include <QFile>

namespace vorlix::sync {

int gitCredentials(git_credential** out, const char* /*url*/, const char* userFromUrl,
                   unsigned int allowed, void* payload) {
  auto* self = static_cast<GitRemote*>(payload);
  // libgit2 asks again after a refusal, for ever: the second time is a
  // wrong name or password.
  if (++self->asked_ > 1) return GIT_EAUTH;
  const QByteArray user =
      (self->user_.isEmpty() && userFromUrl ? QString::fromUtf8(userFromUrl) : self->user_)
          .toUtf8();
  if ((allowed & GIT_CREDENTIAL_USERPASS_PLAINTEXT) && !user.isEmpty())
    return git_credential_userpass_plaintext_new(out, user.constData(),
                                                 self->password_.toUtf8().constData());
  if (allowed & GIT_CREDENTIAL_SSH_KEY)
    return git_credential_ssh_key_from_agent(out, user.isEmpty() ? "git" : user.constData());
  if ((allowed & GIT_CREDENTIAL_USERNAME) && !user.isEmpty())
    return git_credential_username_new(out, user.constData());
  return GIT_PASSTHROUGH;
}

int gitPushStatus(const char* refname, const char* status, void* payload) {
  auto* self = static_cast<GitRemote*>(payload);
  if (status)
    self->refusal_ =
        QStringLiteral("%1: %2").arg(QString::fromUtf8(refname), QString::fromUtf8(status));
  return 0;
}

GitRemote::GitRemote(QString url, QString user, QString password)
    : url_(std::move(url)), user_(std::move(user)), password_(std::move(password)) {
  git_libgit2_init();
}

GitRemote::~GitRemote() {
  remote_.reset();
  repo_.reset();
  git_libgit2_shutdown();
}

QString GitRemote::failure(int code, const char* what) const {
  const git_error* e = git_error_last();
  const QString why = e && e->message ? QString::fromUtf8(e->message).trimmed()
                                      : QStringLiteral("error %1").arg(code);
  if (code == GIT_EAUTH || asked_ > 1)
    return QStringLiteral("The Git server %1 refused the user name or password (%2).")
        .arg(url_, why);
  return QStringLiteral("Git could not %1 %2: %3").arg(QLatin1String(what), url_, why);
}

git_remote_callbacks GitRemote::callbacks() {
  git_remote_callbacks cb;
  git_remote_init_callbacks(&cb, GIT_REMOTE_CALLBACKS_VERSION);
  cb.credentials = gitCredentials;
  cb.push_update_reference = gitPushStatus;
  cb.payload = this;
  asked_ = 0;
  refusal_.clear();
  return cb;
}

bool GitRemote::open(const QString& folder, QString& error) {
  if (!QDir().mkpath(folder)) {
    error = QStringLiteral("Cannot make the Git cache folder %1.").arg(folder);
    return false;
  }
  const QByteArray path = QFile::encodeName(folder);
  git_repository* repo = nullptr;
  int code = git_repository_open_bare(&repo, path.constData());
  if (code < 0) code = git_repository_init(&repo, path.constData(), 1);
  if (code < 0) {
    error = failure(code, "keep a copy of");
    return false;
  }
  repo_.reset(repo);
  git_remote* remote = nullptr;
  code = git_remote_create_anonymous(&remote, repo, url_.toUtf8().constData());
  if (code < 0) {
    error = failure(code, "reach");
    return false;
  }
  remote_.reset(remote);
  return true;
}

bool GitRemote::list(const QString& prefix, std::map<QString, git_oid>& refs, QString& error) {
  const git_remote_callbacks cb = callbacks();
  int code = git_remote_connect(remote_.get(), GIT_DIRECTION_FETCH, &cb, nullptr, nullptr);
  const git_remote_head** heads = nullptr;
  size_t count = 0;
  if (code >= 0) code = git_remote_ls(&heads, &count, remote_.get());
  if (code < 0) {
    error = failure(code, "reach");
    git_remote_disconnect(remote_.get());
    return false;
  }
  refs.clear();
  for (size_t i = 0; i < count; ++i) {
    const QString name = QString::fromUtf8(heads[i]->name);
    if (name.startsWith(prefix)) refs[name] = heads[i]->oid;
  }
  git_remote_disconnect(remote_.get());
  return true;
}

bool GitRemote::fetch(const QString& ref, QString& error) {
  git_fetch_options options;
  git_fetch_options_init(&options, GIT_FETCH_OPTIONS_VERSION);
  options.callbacks = callbacks();
  options.download_tags = GIT_REMOTE_DOWNLOAD_TAGS_NONE;
  const QByteArray bytes = ("+" + ref + ":refs/vorlix/fetched").toUtf8();
  char* refspecs[] = {const_cast<char*>(bytes.constData())};
  const git_strarray array{refspecs, 1};
  if (const int code = git_remote_fetch(remote_.get(), &array, &options, nullptr); code < 0) {
    error = failure(code, "fetch from");
    return false;
  }
  return true;
}

bool GitRemote::push(const QString& refspec, bool& rejected, QString& error) {
  git_push_options options;
  git_push_options_init(&options, GIT_PUSH_OPTIONS_VERSION);
  options.callbacks = callbacks();
  const QByteArray bytes = refspec.toUtf8();
  char* refspecs[] = {const_cast<char*>(bytes.constData())};
  const git_strarray array{refspecs, 1};
  const int code = git_remote_push(remote_.get(), &array, &options);
  rejected = code == GIT_ENONFASTFORWARD || refusal_.contains(QLatin1String("fast-forward")) ||
             refusal_.contains(QLatin1String("fetch first"));
  if (code < 0) {
    error = failure(code, "push to");
    return false;
  }
  if (!refusal_.isEmpty()) {
    error = QStringLiteral("The Git server %1 refused %2.").arg(url_, refusal_);
    return false;
  }
  return true;
}

}  // namespace vorlix::sync

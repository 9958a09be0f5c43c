// 帐套加密: a set re-encrypted under its own passphrase instead of the key
// every copy of the program shares, and back. The set is never re-keyed in
// place: a re-encrypted copy is written beside it, checked and renamed over
// it (rewriteOpenSet), so at any moment the file opens with the old key or
// the new one.
#pragma once

#include <QString>

#include "store/operation.h"

namespace tz {

// True when the open set is encrypted under a passphrase of its own.
bool hasSetPassphrase(Session &session);

// Refuses an empty entry ("请输入帐套密码") or two entries that differ
// ("两次输入的帐套密码不一致"), both exclamation, "TZ305提示"; then asks
// kSetPassphraseQuestion (No ends silently); then re-encrypts the set under
// `first` ("正在加密帐套…"), remembers it for the process and says
// "帐套加密成功。请牢记帐套密码:遗失后任何人都不能打开此帐套。"
// (information, "TZ305提示").
OpResult SetSetPassphrase(Session &session, const QString &first, const QString &second, Dialogs &dialogs);

// A set without a passphrase is refused ("此帐套没有加密", exclamation);
// otherwise asks kRemovePassphraseQuestion and re-encrypts the set under the
// shared key: "已取消帐套加密" (information, "TZ305提示").
OpResult RemoveSetPassphrase(Session &session, Dialogs &dialogs);

inline constexpr char16_t kSetPassphraseQuestion[]
    = u"帐套加密后,打开此帐套和它的备份、下一年度的帐套都要输入帐套密码。\n"
      u"帐套密码一旦遗失,帐套将无法打开,任何人(包括本程序)都不能找回!\n\n"
      u"请把帐套密码妥善记下。是否现在加密?";
inline constexpr char16_t kRemovePassphraseQuestion[]
    = u"取消帐套加密后,任何有本程序的人都能打开此帐套。\n\n是否取消帐套加密?";

} // namespace tz

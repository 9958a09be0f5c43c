// Summary phrases (摘要): the stored texts the voucher window offers for a
// line's summary, listed, added and deleted by the phrase picker.
#pragma once

#include <QString>
#include <QStringList>

#include "store/operation.h"

namespace tz {

// Every phrase in ascending order.
OpResult ListPhrases(Session &session, QStringList &phrases, Dialogs &dialogs);

// Adds `phrase` exactly as typed. Refuses empty text ("名称不能为空！",
// title "TZ305", no icon) and a phrase already stored, letters compared
// without regard to case ("名称重复,不能增加", title "TZ305提示",
// critical). A phrase with a trailing blank is a different phrase.
OpResult AddPhrase(Session &session, const QString &phrase, Dialogs &dialogs);

// Deletes the phrase equal to `phrase`. Refuses empty text ("请单击选择要
// 删除的内容", title "TZ305", no icon); asks "是否删除：" + phrase + "?"
// (title "tz305"; No refuses silently). Voucher lines that use the text
// keep it.
OpResult DeletePhrase(Session &session, const QString &phrase, Dialogs &dialogs);

} // namespace tz

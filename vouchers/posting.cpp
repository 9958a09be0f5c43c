// Save, modify, insert and delete of a voucher.
#include "vouchers/posting.h"

#include "store/changelog.h"
#include "store/dialogs.h"
#include "store/guard.h"
#include "store/session.h"
#include "store/transaction.h"
#include "vouchers/monthstate.h"
#include "vouchers/postingchecks.h"
#include "vouchers/postingwrites.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

namespace {

const QString kNoticeTitle = u"TZ305提示"_s;
const QString kDoneTitle = u"TZ305系统"_s;

QString questionOf(PostingKind kind, int n)
{
    switch (kind) {
    case PostingKind::Save:
        break;
    case PostingKind::Modify:
        return u"真要修改此张凭证吗?(%1号凭证)"_s.arg(n);
    case PostingKind::Insert:
        return u"真要插入此张凭证吗?原来的%1号凭证及以后的号码会自动增号"_s.arg(n);
    case PostingKind::Delete:
        return u"真要删除此张凭证吗?(%1号凭证),以后的号码会自动减号)"_s.arg(n);
    }
    return {};
}

QString doneTextOf(PostingKind kind)
{
    switch (kind) {
    case PostingKind::Save:
        return u"凭证保存成功"_s;
    case PostingKind::Modify:
        return u"凭证修改成功"_s;
    case PostingKind::Insert:
        return u"凭证插入成功"_s;
    case PostingKind::Delete:
        return u"凭证删除成功"_s;
    }
    return {};
}

// The posting's row in the trail of changes, in its own transaction.
void logPosting(Session &session, PostingKind kind, int month, int n, const QString &operation)
{
    switch (kind) {
    case PostingKind::Save:
        logVouchers(session, operation.isEmpty() ? u"保存"_s : operation, month, n, n);
        break;
    case PostingKind::Modify:
        logVouchers(session, u"修改"_s, month, n, n);
        break;
    case PostingKind::Insert:
        moveLoggedVouchers(session, month, n, +1);
        logVouchers(session, u"插入"_s, month, n, n);
        break;
    case PostingKind::Delete:
        logDeletion(session, u"删除"_s, month, n);
        break;
    }
}

int nextNumberAfter(PostingKind kind, int n, int max)
{
    switch (kind) {
    case PostingKind::Save:
        return n + 1;
    case PostingKind::Modify:
        return max + 1;
    case PostingKind::Insert:
        return max + 2;
    case PostingKind::Delete:
        return max;
    }
    return max + 1;
}

OpResult post(Session &session, PostingKind kind, const VoucherHeader &given, const QList<VoucherLine> &lines,
              PostingOutcome &outcome, Dialogs &dialogs, bool numberInside = false,
              const std::optional<PostingNotice> &done = std::nullopt)
{
    outcome = {};
    VoucherHeader header = given;
    const int m = header.month();
    std::optional<Refusal> refused;
    const OpResult run = guarded(dialogs, [&] {
        // Modify, insert and delete ask first. Their checks run once before
        // the question, so it is asked only of a voucher that can be posted,
        // and again under the write lock below, where what they read cannot
        // change before the write: no process numbers, closes or stages
        // between the check and the lines.
        if (kind != PostingKind::Save) {
            refused = firstRefusal(readPostingCase(session, kind, header, lines));
            if (refused)
                return OpResult::refused(refused->text);
            if (!dialogs.ask(questionOf(kind, header.number), kNoticeTitle))
                return OpResult::refused();
        }

        Transaction transaction(session);
        if (numberInside)
            header.number = readMonthState(session, m).maxNumber + 1;
        const int n = header.number;
        const PostingCase posting = readPostingCase(session, kind, header, lines);
        refused = firstRefusal(posting);
        if (refused)
            return OpResult::refused(refused->text);
        switch (kind) {
        case PostingKind::Save:
            break;
        case PostingKind::Modify:
            deleteVoucherLines(session, m, n);
            break;
        case PostingKind::Insert:
            shiftVouchers(session, m, n, +1);
            break;
        case PostingKind::Delete:
            deleteVoucherLines(session, m, n);
            shiftVouchers(session, m, n, -1);
            break;
        }
        if (kind != PostingKind::Delete)
            writeEntryLines(session, header, session.operatorName(), posting.entries);
        logPosting(session, kind, m, n, done ? done->operation : QString());
        transaction.commit();

        outcome.nextNumber = nextNumberAfter(kind, n, posting.month.maxNumber);
        outcome.linesWritten = kind == PostingKind::Delete ? 0 : int(posting.entries.size());
        outcome.number = n;
        return OpResult::done();
    });
    // Messages come after the transaction has ended, so no other program
    // waits on the lock while a message box is open.
    if (refused) {
        outcome.numberNotConsecutive = refused->check == PostingCheck::SaveNumber;
        dialogs.show(refused->text, refused->title, refused->icon);
        return OpResult::refused(refused->text);
    }
    if (run.isDone() && done)
        dialogs.show(done->text, done->title, Icon::Information);
    else if (run.isDone())
        dialogs.show(doneTextOf(kind), kDoneTitle, Icon::Information);
    return run;
}

} // namespace

OpResult SaveVoucher(Session &session, const VoucherHeader &header, const QList<VoucherLine> &lines,
                     PostingOutcome &outcome, Dialogs &dialogs)
{
    return post(session, PostingKind::Save, header, lines, outcome, dialogs);
}

OpResult SaveNextVoucher(Session &session, const VoucherHeader &header, const QList<VoucherLine> &lines,
                         PostingOutcome &outcome, Dialogs &dialogs, const std::optional<PostingNotice> &done)
{
    return post(session, PostingKind::Save, header, lines, outcome, dialogs, true, done);
}

OpResult ModifyVoucher(Session &session, const VoucherHeader &header, const QList<VoucherLine> &lines,
                       PostingOutcome &outcome, Dialogs &dialogs)
{
    return post(session, PostingKind::Modify, header, lines, outcome, dialogs);
}

OpResult InsertVoucher(Session &session, const VoucherHeader &header, const QList<VoucherLine> &lines,
                       PostingOutcome &outcome, Dialogs &dialogs)
{
    return post(session, PostingKind::Insert, header, lines, outcome, dialogs);
}

OpResult DeleteVoucher(Session &session, const VoucherHeader &header, const QList<VoucherLine> &lines,
                       PostingOutcome &outcome, Dialogs &dialogs)
{
    return post(session, PostingKind::Delete, header, lines, outcome, dialogs);
}

} // namespace tz

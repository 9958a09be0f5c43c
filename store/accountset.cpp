// Creating account sets.
#include "store/accountset.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "store/dialogs.h"
#include "store/guard.h"
#include "store/makepath.h"
#include "store/paths.h"
#include "store/safefile.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

QString accountSetFileName(const QString &shortName, const QString &yearText)
{
    return shortName + u".Y"_s + yearText.right(2);
}

QString shortNameOfSetFile(const QString &path)
{
    return QFileInfo(path).fileName().chopped(qMin<qsizetype>(4, QFileInfo(path).fileName().size()));
}

int fiscalYearOfSetFile(const QString &path)
{
    return 2000 + path.right(2).toInt();
}

bool isShortNameText(const QString &name)
{
    if (name.startsWith(u'.'))
        return false;
    const QList<uint> characters = name.toUcs4();
    return std::none_of(characters.begin(), characters.end(), [](uint c) {
        switch (QChar::category(char32_t(c))) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Other_Surrogate:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return true;
        default:
            return c == u'/' || c == u'\\' || c == QChar::ReplacementCharacter;
        }
    });
}

namespace {

// Copies the template to `target` through a scratch file in the same
// folder that must open with the key before it takes the final name.
OpResult copyTemplate(const QString &target, Dialogs &dialogs)
{
    const QString source = templatePath();
    if (!QFileInfo(source).isFile())
        return fail(dialogs, u"找不到帐套模板文件: %1"_s.arg(source));
    const QString scratch = scratchPathFor(target);
    QString problem = copyToScratch(source, scratch);
    if (problem.isEmpty()) {
        problem = verifyAccountSet(scratch);
        if (!problem.isEmpty()) {
            QFile::remove(scratch);
            problem = u"帐套模板文件已损坏: "_s + problem;
        }
    }
    if (problem.isEmpty())
        problem = installScratch(scratch, target, false);
    if (!problem.isEmpty())
        return fail(dialogs, u"创建帐套失败。"_s + problem);
    return OpResult::done();
}

} // namespace

OpResult CreateAccountSet(const QString &shortNameText, const QString &yearText, const QString &folder,
                          Dialogs &dialogs, QString *createdPath)
{
    const QString name = shortNameText.trimmed();
    if (name.isEmpty() || name.size() > 5) {
        const QString text = u"1.帐套简称不能为空    2.简称不要超5个字"_s;
        dialogs.show(text, applicationTitle(), Icon::None);
        return OpResult::refused(text);
    }
    if (!isShortNameText(name)) {
        const QString text = u"帐套简称不能含有 / \\ 等符号,也不能以 . 开头"_s;
        dialogs.show(text, u"TZ305提示"_s, Icon::Critical);
        return OpResult::refused(text);
    }
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder)) {
        const QString text = u"请选择帐套路径(存放帐套的文件夹)"_s;
        dialogs.show(text, u"提醒您！"_s, Icon::Exclamation);
        return OpResult::refused(text);
    }
    bool yearOk = false;
    const int year = yearText.trimmed().toInt(&yearOk);
    if (!yearOk || year < 2015 || year > 2099) {
        const QString text = u"帐套年度必须在2015至2099之间"_s;
        dialogs.show(text, u"TZ305提示"_s, Icon::Critical);
        return OpResult::refused(text);
    }
    const QString cleanFolder = QDir::cleanPath(folder);
    if (!MakePath(cleanFolder))
        return fail(dialogs, u"无法创建文件夹: %1"_s.arg(cleanFolder));

    const QString fileName = accountSetFileName(name, QString::number(year));
    const QString target = cleanFolder + u'/' + fileName;
    if (QFileInfo::exists(target)) {
        const QString text = u"帐套重复!!此文件夹中有帐套名相同且年度相同的帐套: "_s + fileName;
        dialogs.show(text, u"TZ305提示"_s, Icon::Exclamation);
        return OpResult::refused(text);
    }
    if (OpResult copied = copyTemplate(target, dialogs); !copied.isDone())
        return copied;

    if (createdPath)
        *createdPath = target;
    const QString text = u"帐套路径: "_s + cleanFolder + u"\n\n帐套名称: "_s + name;
    dialogs.show(text, u"创建帐套成功!"_s, Icon::Exclamation);
    return OpResult{OpResult::Status::Done, text};
}

} // namespace tz

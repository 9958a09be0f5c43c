// The file names the save dialogs offer. Every file the program writes for
// the user is offered in the exports folder under one style of name: the
// set's short name, what the file holds (as the user asked for it), the
// account or the vouchers when there are any, and the period, joined by
// "_": 示例_科目余额表_2024年11月.xlsx, 示例_明细帐帐页_1002001_2024年.xlsx,
// 示例_凭证_1-5号_2024年11月.pdf.
#pragma once

#include <QString>
#include <QStringList>

namespace tz {

// <data folder>/exports, created on demand: where every save dialog opens.
QString exportsFolder();

// The period of a name: "2024年11月" for a month "1".."12", "2024年年初"
// for 年初, "2024年" for the whole year (全部 or nothing).
QString periodName(int year, const QString &month = {});

// The offered path: exportsFolder() + "/" + short name and `parts` (empty
// parts left out) joined by "_", then "." + `suffix`. A "/" inside a part
// becomes "-", so every name stays one file in the exports folder.
QString offeredPath(const QString &shortName, const QStringList &parts, const QString &suffix);

} // namespace tz

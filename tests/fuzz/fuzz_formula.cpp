// The statement formulas: read into codes, summed over report data, and
// saved as a template line (statements/statementtemplate.h) in the fuzz set,
// whose checks must refuse what the evaluation cannot take.
#include "statements/reportdata.h"
#include "statements/statementtemplate.h"
#include "store/scripteddialogs.h"
#include "tests/fuzz/fuzzset.h"
#include "tests/fuzz/fuzztarget.h"

using namespace Qt::Literals::StringLiterals;
using tz::fuzz::fuzzCheck;

TZ_FUZZ_TARGET(formula)
{
    if (size == 0)
        return 0;
    // The first byte picks the statement, the rest is the formula.
    const auto table = tz::StatementTable(data[0] % 5);
    const QString formula = tz::fuzz::inputText(data + 1, size - 1);

    const QSet<QString> codes = tz::formulaCodes(formula);
    for (const QString &code : codes)
        fuzzCheck(!code.isEmpty() && code != u"-"_s, "an empty code named");
    tz::isFormulaText(formula);
    const QHash<QString, tz::FigurePair> rows = {
        {u"1001"_s, {100, 200}}, {u"1002"_s, {-5, 7}}, {u"888"_s, {1, 1}}, {u"999"_s, {2, 3}}};
    tz::evaluateFormula(rows, formula);

    tz::ScriptedDialogs dialogs;
    const tz::OpResult saved = tz::SetTemplateLine(tz::fuzz::fuzzSet().session(), table, 1, std::nullopt, formula, dialogs);
    // The line keeps the formula trimmed; blanks alone clear it.
    if (saved.isDone())
        fuzzCheck(tz::isFormulaText(formula.trimmed()), "a formula saved that is not formula text");
    return 0;
}

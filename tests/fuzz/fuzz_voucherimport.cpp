// The voucher import file (vouchers/voucherimport.h): read as CSV, then
// imported into the fuzz set as 凭证导入 does. Whatever the file, the
// import ends with a message to the user.
#include "store/scripteddialogs.h"
#include "tests/fuzz/fuzzset.h"
#include "tests/fuzz/fuzztarget.h"
#include "vouchers/csvtable.h"
#include "vouchers/voucherimport.h"

using tz::fuzz::fuzzCheck;

TZ_FUZZ_TARGET(voucherimport)
{
    const tz::CsvTable table = tz::readCsv(tz::fuzz::inputText(data, size));
    fuzzCheck(table.isValid() || table.errorLine > 0, "a CSV error without its line");

    tz::Session &session = tz::fuzz::fuzzSet().session();
    const QString path = tz::fuzz::inputFile(data, size);
    tz::ImportCounts counts;
    tz::ScriptedDialogs dialogs;
    tz::ImportVouchers(session, path, counts, dialogs);
    fuzzCheck(!dialogs.messages.isEmpty(), "an import that said nothing");
    return 0;
}

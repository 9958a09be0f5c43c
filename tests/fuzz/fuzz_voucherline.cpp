// The command line's voucher line "摘要|科目代码|数量|借方|贷方|流代|流金".
#include <cmath>

#include "tests/fuzz/fuzztarget.h"
#include "vouchers/linetext.h"

using tz::fuzz::fuzzCheck;

TZ_FUZZ_TARGET(voucherline)
{
    QString problem;
    bool refused = false;
    const std::optional<tz::VoucherLine> line = tz::parseLineText(tz::fuzz::inputText(data, size), problem, refused);
    if (line) {
        fuzzCheck(!line->quantity || std::isfinite(*line->quantity), "a quantity that is no finite number");
        for (const std::optional<tz::Cents> &amount : {line->debit, line->credit, line->flowAmount})
            fuzzCheck(!amount || std::abs(*amount) <= tz::kMaxPostedCents, "an amount beyond the largest kept");
    } else {
        fuzzCheck(!problem.isEmpty(), "a line refused without a reason");
    }
    return 0;
}

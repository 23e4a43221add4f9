// The log reader on any bytes: the input is a day log file of device 10, loaded as the
// program loads a file of the chosen period, then the device finished (day and month
// sums, fields with data) and the overview tables made. Only the program's own failures
// may leave; anything else is a fault. The file is also read twice into a device (a day
// read again) both straight and with its records read ahead, which must give the same.

#include "FuzzSupport.h"

#include "core/base/KalvexError.h"
#include "core/loading/AnalysisSet.h"
#include "core/loading/LogFileNames.h"
#include "core/logdata/LogAnalysis.h"
#include "core/logdata/LogFileReader.h"

#include <bit>

namespace {

// The failure text, empty when the file loaded.
std::string ReadTwice(TLogAnalysis& analysis, const std::string& path, bool readAhead)
{
    std::string failures;
    for (int pass = 0; pass < 2; ++pass) {
        TLogFileReader reader(path);
        reader.Prepare(readAhead);
        try {
            reader.ReadInto(analysis);
        } catch (const KalvexError& e) {
            failures += e.what();
        }
    }
    return failures;
}

bool SameBits(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

void RequireSameBothWays(const std::string& path)
{
    TLogAnalysis straight(EncodeDate(2007, 3, 1), EncodeDate(2007, 4, 1), nullptr, nullptr);
    TLogAnalysis ahead(EncodeDate(2007, 3, 1), EncodeDate(2007, 4, 1), nullptr, nullptr);
    Require(ReadTwice(straight, path, false) == ReadTwice(ahead, path, true),
        "read ahead, a file fails as it does read straight");
    Require(straight.FieldRecordCount() == ahead.FieldRecordCount()
            && straight.DayCount() == ahead.DayCount(),
        "read ahead, a file gives the same fields and days");
    for (int d = 0; d < straight.DayCount(); ++d)
        Require(SameBits(straight.Day(d).last, ahead.Day(d).last)
                && SameBits(straight.Day(d).interval, ahead.Day(d).interval),
            "read ahead, a file gives the same days");
    for (int f = 0; f < straight.FieldRecordCount(); ++f) {
        const TFieldSeries* a = straight.Series(f);
        const TFieldSeries* b = ahead.Series(f);
        Require(!a == !b, "read ahead, a field has a series as read straight");
        if (!a)
            continue;
        const TPointSeries& p = a->Points();
        const TPointSeries& q = b->Points();
        Require(p.Count() == q.Count(), "read ahead, a series has as many points");
        for (int i = 0; i < p.Count(); ++i)
            Require(
                SameBits(p.X(i), q.X(i)) && SameBits(p.Y(i), q.Y(i)) && p.IsNull(i) == q.IsNull(i),
                "read ahead, a series has the same points");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TFuzzFolder folder;
    const std::string path = folder.Write("10070315.csv", AsText(data, size));
    TAnalysisSet set;
    set.BeginLoad(1, {FileDevicePrefix(path)}, EncodeDate(2007, 3, 1), EncodeDate(2007, 3, 31));
    try {
        set.LoadFile(path);
        set.FinishDevice(0);
        set.FinishLoad();
        Require(set.DailyOverview() != nullptr, "a loaded day gives a daily overview");
    } catch (const KalvexError&) {
        // A file the program refuses, with a message for the user.
    }
    RequireSameBothWays(path);
    return 0;
}

// The log reader on any bytes: the input is a day log file of device 10, loaded as the
// program loads a file of the chosen period, then the device finished (day and month
// sums, fields with data) and the overview tables made. Only the program's own failures
// may leave; anything else is a fault.

#include "FuzzSupport.h"

#include "core/base/KalvexError.h"
#include "core/loading/AnalysisSet.h"
#include "core/loading/LogFileNames.h"

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
    return 0;
}

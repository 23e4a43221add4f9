#pragma once
// The memory check before each file of a load: 25 MiB must remain available. Asking the
// system costs some 20 µs, a tenth of what reading a day file takes, so while far more is
// available one answer stands for the next files too: as many as could each take 64 MiB
// without eating into the 25 MiB, at most 64. Close to the limit every file is checked.

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

// MemAvailable of a /proc/meminfo text in bytes; none when it does not say.
std::optional<std::uint64_t> AvailableMemory(std::string_view meminfo);

// False when the text of /proc/meminfo gives less than 25 MiB as MemAvailable; true when
// it gives more or does not say.
bool EnoughMemoryToLoad(std::string_view meminfo);

class TMemoryProbe {
public:
    // Bytes available now; none when the system does not say.
    using Reading = std::function<std::optional<std::uint64_t>()>;
    // Unset: MemAvailable of /proc/meminfo.
    explicit TMemoryProbe(Reading reading = {});

    // Whether memory for one more file remains.
    bool BeforeFile();

private:
    Reading reading;
    int filesApproved = 0; // files that may still be read without asking
};

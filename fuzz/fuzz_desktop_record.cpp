// The desktop record is a file the user may edit: any bytes must read as some
// record, and the text the program writes for a record must read back as
// that same text (the written form is a fixed point).
#include "codec/DesktopRecord.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string written = tabulon::FormatDesktopRecord(tabulon::ParseDesktopRecord(bytes));
    if (tabulon::FormatDesktopRecord(tabulon::ParseDesktopRecord(written)) != written) std::abort();
    return 0;
}

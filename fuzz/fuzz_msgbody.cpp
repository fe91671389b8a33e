// Property: whatever a body text parses to, writing that record and parsing the text again gives the same record.

#include "rpc/kramsg.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    kra::CMsg first;
    if (kra::parseBody(text, first) != 0) {
        if (first.kind != kra::CMsg::None || !first.params.empty() || !first.getNames.empty()
            || !first.listNames.empty())
            std::abort();
        return 0;
    }
    std::string written;
    if (kra::serializeBody(first, written) != 0)
        std::abort();
    kra::CMsg second;
    if (kra::parseBody(written, second) != 0)
        std::abort();
    if (second.kind != first.kind || second.params != first.params || second.getNames != first.getNames
        || second.listNames != first.listNames)
        std::abort();
    return 0;
}

// The help file: every topic it holds is found under its own context number.
#include "FuzzSupport.h"

#include "HelpFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::quiet();
    const tavio::HelpFile help =
        tavio::HelpFile::parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    for (const tavio::HelpTopic& t : help.topics()) {
        const tavio::HelpTopic* found = help.topic(t.context);
        FUZZ_CHECK(found && found->context == t.context);
    }
    return 0;
}

// A property-list file as the resources hold them (XML or binary, an array of strings): read
// as the word lists and frames are read. What reads as a list is written and read again.
#include "fuzz_support.h"
#include "platform/property_list.h"

using namespace vimora;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::initialise(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<QStringList> strings = readStringArrayPlist(fuzz::writeScratchFile(QStringLiteral("list.plist"), bytes));
    if (!strings)
        return 0;
    const QString copy = fuzz::scratchFolder() + QStringLiteral("/copy.plist");
    fuzz::check(writeStringArrayPlist(copy, *strings), "a list that was read can be written");
    const std::optional<QStringList> again = readStringArrayPlist(copy);
    fuzz::check(again && *again == *strings, "a written list reads back the same");
    return 0;
}

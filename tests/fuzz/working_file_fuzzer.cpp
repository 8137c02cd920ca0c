// A working file found in tmp/ after a crash or written by an older build: loaded through its
// slot as a screen would, then saved into another slot and read back after the slots forget.
#include "fuzz_support.h"
#include "store/working_files.h"

using namespace vimora;

namespace {
// The PNG round trip below costs time with the pixel count, and teaches nothing past this.
constexpr qint64 kMostPixelsRoundTripped = qint64(1) << 20;
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::initialise(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    WorkingFiles &files = WorkingFiles::shared();
    // The slot by the length, so the file's own bytes stay whole.
    const auto slot = WorkingFiles::Slot(size % WorkingFiles::kSlotCount);
    const auto other = WorkingFiles::Slot((size + 1) % WorkingFiles::kSlotCount);
    files.forget();
    fuzz::writeFile(WorkingFiles::path(slot), QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const Picture loaded = files.load(slot);
    if (loaded.isNull() || qint64(loaded.pixelWidth()) * loaded.pixelHeight() > kMostPixelsRoundTripped)
        return 0;
    fuzz::check(loaded.scale() == 1.0 && loaded.orientation() == Orientation::Up, "a loaded file is upright at scale 1");
    files.save(other, loaded);
    files.forget();
    const Picture again = files.load(other);
    fuzz::check(!again.isNull(), "a picture saved into a slot loads again");
    fuzz::check(again.bitmap() == loaded.bitmap(), "premultiplied pixels survive the slot's PNG");
    return 0;
}

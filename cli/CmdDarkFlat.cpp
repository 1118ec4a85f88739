// darkflat: dark subtraction and/or flat division, then the image save.
#include "Command.h"
#include "ImageInput.h"
#include "NonFinite.h"

#include "fits/FitsData.h"
#include "image/DarkFlat.h"

namespace cli {

namespace {

int runDarkFlat(const Arguments& args)
{
    const CommandSpec* spec = &commands().at("darkflat");
    auto output = args.option("o");
    auto dark = args.option("dark"), flat = args.option("flat");
    if (!output)
        return usageError("-o is required", spec);
    if (!dark && !flat)
        return usageError("at least one of --dark and --flat is required", spec);
    OpenedImage opened;
    raylen::FrameNonFinite frames;
    std::string message = openImageValues(args.positional[0], opened);
    if (message.empty())
        message = raylen::sfDarkFlatCorrect(opened.image, opened.info, opened.header, dark.has_value(),
                                            dark.value_or(""), flat.has_value(), flat.value_or(""), &frames);
    if (message.empty()) {
        noteNonFiniteInput(dark.value_or(""), frames.dark);
        noteNonFiniteInput(flat.value_or(""), frames.flat);
        message = checkResult(opened.image);
    }
    if (message.empty())
        message = raylen::sfSaveImgSng(*output, opened.header, opened.image);
    return message.empty() ? exitOk : fail(message);
}

Registration darkflat({"darkflat", "darkflat IMAGE [--dark D] [--flat F] -o OUT.fit",
                       "subtract a dark frame and/or divide by a flat frame normalised to mean 1, then save",
                       {"o", "dark", "flat"}, {}, 1, runDarkFlat});

} // namespace

} // namespace cli

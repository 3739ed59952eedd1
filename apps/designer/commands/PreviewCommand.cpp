// qell-designer preview: the page alone, at its own size, drawn as the designer's
// preview draws it, optionally as a person with a colour-vision deficiency sees it.

#include <cstdio>
#include <string>
#include <vector>

#include "apps/designer/commands/Commands.h"
#include "apps/designer/commands/Options.h"
#include "apps/designer/document/PageFile.h"
#include "platform/components/PagePainter.h"

const char PreviewUsage[] =
    "qell-designer preview FILE --out FILE.png\n"
    "                          [--simulate none|protanopia|deuteranopia|tritanopia|achromatopsia]\n";

int RunPreviewCommand(const TArgs& Args)
{
    TOptionParser Parser("preview", PreviewUsage);
    std::string Out, SimulateText;
    Parser.Value("--out", Out, "a file name");
    Parser.Value("--simulate", SimulateText, "a deficiency");
    std::vector<std::string> File;
    switch (Parser.Parse(Args, File, 1, 1)) {
    case TParsed::Help: std::printf("usage: %s", PreviewUsage); return ExitOk;
    case TParsed::Error: return ExitError;
    case TParsed::Run: break;
    }
    if (!Parser.Given("--out")) {
        Parser.Error("--out FILE.png is needed");
        return ExitError;
    }
    TVisionDeficiency Deficiency = TVisionDeficiency::None;
    if (Parser.Given("--simulate") && !VisionDeficiencyFromName(SimulateText, Deficiency)) {
        Parser.Error("--simulate takes none, protanopia, deuteranopia, tritanopia or achromatopsia, not " +
                     QuotedInput(SimulateText));
        return ExitError;
    }
    try {
        const std::unique_ptr<TQellPage> Page = LoadPageFile(File[0]);
        TBitmap Picture = PagePicture(*Page);
        TCanvas Canvas(&Picture, {0, 0}, Rect(0, 0, Picture.Width(), Picture.Height()));
        SimulateVisionOn(Canvas, Rect(0, 0, Picture.Width(), Picture.Height()), Deficiency);
        Picture.SaveToPNG(Out);
        return ExitOk;
    } catch (const std::exception& E) {
        std::fprintf(stderr, "qell-designer preview: %s\n", E.what());
        return ExitError;
    }
}

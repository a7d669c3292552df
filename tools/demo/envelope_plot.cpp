// Draws the level envelopes of a gate's input and of its outputs as a PNG: one panel per output,
// titled with the output's name, the input in grey and the output in colour, on a dBFS scale
// (-100 … 0) over a time axis in seconds, with a legend.
#include "tools/command_line.h"
#include "tools/demo/pixel_font.h"
#include "tools/hosting/png_image.h"
#include "tools/hosting/wav_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace vrn
{
namespace
{

constexpr int kPlotWidth = 900; // one envelope column per pixel
constexpr int kLeft = 44;       // room for the dB labels
constexpr int kRight = 16;
constexpr int kTitleHeight = 26;
constexpr int kPlotHeight = 150;
constexpr int kAxisHeight = 18;
constexpr int kGap = 8;
constexpr int kPanelHeight = kTitleHeight + kPlotHeight + kAxisHeight + kGap;
constexpr double kFloorDb = -100.0;
constexpr double kGridDb = 20.0;

constexpr std::uint32_t kWhite = 0xffffff;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kFrame = 0x666666;
constexpr std::uint32_t kGrid = 0xdddddd;
constexpr std::uint32_t kInputColour = 0x999999;
constexpr std::uint32_t kOutputColours[] = {0x1f77b4, 0xd62728, 0x2ca02c, 0x9467bd, 0xff7f0e};

/// Peak level in dBFS of all channels per column of the plot.
std::vector<double> Envelope(const WavAudio& audio, std::size_t frames)
{
    std::vector<double> db(kPlotWidth, kFloorDb);
    for (int x = 0; x < kPlotWidth; ++x)
    {
        const std::size_t begin = frames * static_cast<std::size_t>(x) / kPlotWidth;
        const std::size_t end = frames * static_cast<std::size_t>(x + 1) / kPlotWidth;
        double peak = 0.0;
        for (const auto& channel : audio.channels)
            for (std::size_t j = begin; j < end && j < channel.size(); ++j)
                peak = std::max(peak, std::fabs(channel[j]));
        db[static_cast<std::size_t>(x)] = std::max(kFloorDb, 20.0 * std::log10(peak + 1e-30));
    }
    return db;
}

/// The row of `level` dBFS within the plot area starting at `plotTop`.
int RowOf(int plotTop, double level)
{
    return plotTop + static_cast<int>(std::lround(level / kFloorDb * (kPlotHeight - 1)));
}

void DrawCurve(Image& image, int plotTop, const std::vector<double>& db, std::uint32_t colour)
{
    for (int x = 0; x < kPlotWidth; ++x)
    {
        const int y = RowOf(plotTop, db[static_cast<std::size_t>(x)]);
        const int previous = x > 0 ? RowOf(plotTop, db[static_cast<std::size_t>(x - 1)]) : y;
        image.Fill(kLeft + x, std::min(y, previous), kLeft + x + 1, std::max(y, previous) + 1,
                   colour);
    }
}

/// Seconds between time ticks: the first of 0.1, 0.2, 0.5, 1, 2, 5, ... giving at most 12.
double TickStep(double seconds)
{
    double step = 0.1;
    for (int i = 0; seconds / step > 12.0; ++i)
        step *= i % 3 == 1 ? 2.5 : 2.0;
    return step;
}

std::string FileStem(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

/// Frame, dB grid and labels, time ticks and labels, title and legend of one panel.
void DrawPanel(Image& image, int top, const std::string& title, std::uint32_t colour,
               double seconds)
{
    const int plotTop = top + kTitleHeight;
    const int plotBottom = plotTop + kPlotHeight;
    DrawText(image, kLeft, top + 4, title, kBlack, 2);
    // Legend, right-aligned above the plot.
    const int legendY = top + kTitleHeight - 13;
    int x = kLeft + kPlotWidth - TextWidth("output") - 20 - TextWidth("input") - 34;
    for (const auto& [label, lineColour] :
         {std::pair<const char*, std::uint32_t>{"input", kInputColour}, {"output", colour}})
    {
        image.Fill(x, legendY + 3, x + 14, legendY + 5, lineColour);
        DrawText(image, x + 18, legendY, label, kBlack);
        x += 18 + TextWidth(label) + 16;
    }
    DrawText(image, 2, plotTop - 11, "dBFS", kBlack);
    for (double level = 0.0; level >= kFloorDb; level -= kGridDb)
    {
        const int y = RowOf(plotTop, level);
        if (level < 0.0 && level > kFloorDb)
            image.Fill(kLeft, y, kLeft + kPlotWidth, y + 1, kGrid);
        const std::string text = Format("%.0f", level);
        DrawText(image, kLeft - 4 - TextWidth(text), y - 3, text, kBlack);
    }
    // Frame around the plot area.
    image.Fill(kLeft - 1, plotTop - 1, kLeft + kPlotWidth + 1, plotTop, kFrame);
    image.Fill(kLeft - 1, plotBottom, kLeft + kPlotWidth + 1, plotBottom + 1, kFrame);
    image.Fill(kLeft - 1, plotTop, kLeft, plotBottom, kFrame);
    image.Fill(kLeft + kPlotWidth, plotTop, kLeft + kPlotWidth + 1, plotBottom, kFrame);
    const double step = TickStep(seconds);
    for (int i = 0; i * step <= seconds + 1e-9; ++i)
    {
        const int tick = kLeft + static_cast<int>(std::lround(i * step / seconds * kPlotWidth));
        image.Fill(tick, plotBottom + 1, tick + 1, plotBottom + 5, kFrame);
        const std::string text = Format(step < 1.0 ? "%.1f s" : "%.0f s", i * step);
        const int left =
            std::clamp(tick - TextWidth(text) / 2, kLeft, kLeft + kPlotWidth - TextWidth(text));
        DrawText(image, left, plotBottom + 7, text, kBlack);
    }
}

int Plot(int argc, char** argv)
{
    if (argc < 4)
    {
        std::fprintf(stderr, "usage: envelope_plot OUT.png IN.wav OUTPUT.wav...\n");
        return 1;
    }
    std::vector<WavAudio> files(static_cast<std::size_t>(argc - 2));
    for (int i = 2; i < argc; ++i)
    {
        const WavStatus status = ReadWav(argv[i], files[static_cast<std::size_t>(i - 2)]);
        if (!status.ok)
        {
            PrintError(std::string(argv[i]) + ": " + status.message);
            return 4;
        }
    }
    const std::size_t frames = files[0].Frames();
    const double seconds =
        std::max(static_cast<double>(frames) / std::max(files[0].sampleRate, 1u), 1e-3);
    const std::vector<double> input = Envelope(files[0], frames);
    const int panels = argc - 3;
    Image image(kLeft + kPlotWidth + kRight, panels * kPanelHeight, kWhite);
    for (int p = 0; p < panels; ++p)
    {
        const int top = p * kPanelHeight;
        const std::uint32_t colour = kOutputColours[p % 5];
        DrawPanel(image, top, FileStem(argv[p + 3]), colour, seconds);
        DrawCurve(image, top + kTitleHeight, input, kInputColour);
        DrawCurve(image, top + kTitleHeight,
                  Envelope(files[static_cast<std::size_t>(p) + 1], frames), colour);
    }
    std::string error;
    if (!WritePng(argv[1], image, error))
    {
        PrintError(error);
        return 4;
    }
    return 0;
}

} // namespace
} // namespace vrn

int main(int argc, char** argv)
{
    return vrn::RunMain("envelope_plot", argc, argv, vrn::Plot);
}

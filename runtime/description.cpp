// Slider declaration, including file sliders that list a data folder.
#include "runtime/description.h"

#include "runtime/library_files.h"

namespace vrn
{

std::size_t CXaltoDescription::DeclareSlider(std::int32_t sliderNumber, double defaultValue,
                                             double minimum, double maximum, double step,
                                             const std::string& folder, const std::string& label,
                                             const std::string& name)
{
    Slider(sliderNumber) = defaultValue;

    SliderInfo info;
    info.sliderNumber = sliderNumber;
    info.defaultValue = defaultValue;
    info.minimum = minimum;
    info.maximum = maximum;
    info.step = step;
    info.folder = folder;
    info.label = label;
    info.name = name;

    if (!folder.empty())
    {
        info.options = ListDataFiles(LibraryPath(folder));
        info.filesListed = true;
        if (info.options.empty())
            info.options.emplace_back("(No Data Files)");
        // A file slider selects one of its files by index.
        info.minimum = 0.0;
        info.maximum = static_cast<double>(info.options.size() - 1);
        info.defaultValue = 0.0;
        info.step = 0.5;
    }

    sliderInfos.push_back(std::move(info));
    return sliderInfos.size() - 1;
}

void CXaltoDescription::AddOption(const std::string& option)
{
    if (!sliderInfos.empty())
        sliderInfos.back().options.push_back(option);
}

void CXaltoDescription::IdentifySlider(const std::string& symbol, SliderUnit unit)
{
    if (sliderInfos.empty())
        return;
    sliderInfos.back().symbol = symbol;
    sliderInfos.back().unit = unit;
}

std::string CXaltoDescription::ProgramName() const
{
    std::lock_guard<std::mutex> lock(programNameMutex);
    return programName;
}

void CXaltoDescription::SetProgramName(std::string name)
{
    std::lock_guard<std::mutex> lock(programNameMutex);
    programName = std::move(name);
}

const SliderInfo* CXaltoDescription::FindSlider(std::int32_t index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= sliderInfos.size())
        return nullptr;
    return &sliderInfos[static_cast<std::size_t>(index)];
}

} // namespace vrn

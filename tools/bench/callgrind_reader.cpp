// The dumps of a counted gate_bench run: their names, and reading a dump file back.
#include "tools/bench/callgrind_reader.h"

#include <cstdlib>
#include <fstream>
#include <vector>

namespace vrn
{
namespace
{

constexpr char kDumpPrefix[] = "gate_bench";
constexpr char kDumpTrigger[] = "desc: Trigger: Client Request: ";
constexpr std::size_t kFields = 7;

// `text` split at `separator` into at most `count` fields; the last one keeps any separators.
std::vector<std::string> SplitFields(const std::string& text, char separator, std::size_t count)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (fields.size() + 1 < count)
    {
        const std::size_t next = text.find(separator, start);
        if (next == std::string::npos)
            break;
        fields.push_back(text.substr(start, next - start));
        start = next + 1;
    }
    fields.push_back(text.substr(start));
    return fields;
}

// A decimal number below `limit`, digits only.
bool ParseField(const std::string& text, std::uint64_t limit, std::uint64_t& value)
{
    if (text.empty() || text.size() > 19 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = std::strtoull(text.c_str(), nullptr, 10);
    return value < limit;
}

} // namespace

std::string CountDumpName::Text() const
{
    return std::string(kDumpPrefix) + "|" + std::to_string(plugin) + "|" +
           std::to_string(blockSize) + "|" + std::to_string(segment) + "|" +
           std::to_string(frames) + "|" + segmentName + "|" + label;
}

bool CountDumpName::Parse(const std::string& text)
{
    const std::vector<std::string> fields = SplitFields(text, '|', kFields);
    std::uint64_t numbers[4] = {};
    const std::uint64_t limits[4] = {1000, 65537, 1000, UINT64_MAX};
    if (fields.size() != kFields || fields[0] != kDumpPrefix)
        return false;
    for (std::size_t i = 0; i < 4; ++i)
    {
        if (!ParseField(fields[i + 1], limits[i], numbers[i]))
            return false;
    }
    plugin = static_cast<std::size_t>(numbers[0]);
    blockSize = static_cast<int32>(numbers[1]);
    segment = static_cast<std::size_t>(numbers[2]);
    frames = numbers[3];
    segmentName = fields[5];
    label = fields[6];
    return blockSize > 0 && frames > 0;
}

bool ReadCountDump(const std::string& path, CountRecord& record)
{
    std::ifstream file(path);
    std::string line;
    std::string name;
    bool haveTotal = false;
    while (std::getline(file, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind(kDumpTrigger, 0) == 0)
            name = line.substr(sizeof kDumpTrigger - 1);
        else if (line.rfind("totals:", 0) == 0 || (!haveTotal && line.rfind("summary:", 0) == 0))
        {
            const std::size_t colon = line.find(':');
            record.instructions = std::strtoull(line.c_str() + colon + 1, nullptr, 10);
            haveTotal = true;
        }
    }
    return haveTotal && record.name.Parse(name);
}

} // namespace vrn

// File records: the state stream's transfer rules and the byte-per-value file flush.
#include "runtime/file_record.h"

#include "runtime/library_files.h"
#include "runtime/numeric.h"

#include <cstdio>
#include <cstring>

namespace vrn
{

void FileRecord::ResetForWriting()
{
    Flush();
    name.clear();
    position = 0;
    values.clear();
    mode = kWriting;
}

void FileRecord::ResetForReading(const void* bytes, std::size_t count)
{
    Flush();
    name.clear();
    position = 0;
    values.assign(count, 0.0f);
    if (count > 0 && bytes)
        std::memcpy(values.data(), bytes, count * sizeof(float));
    mode = kReading;
}

void FileRecord::WriteValue(double value)
{
    if (mode != kWriting || position < 0)
        return;
    const auto index = static_cast<std::size_t>(position);
    if (values.size() <= index)
        values.resize(index + 1, 0.0f);
    values[index] = static_cast<float>(value);
    ++position;
}

void FileRecord::ReadValue(double& variable)
{
    if (mode != kReading || position < 0)
        return;
    const auto index = static_cast<std::size_t>(position);
    if (index >= values.size())
        return;
    variable = static_cast<double>(values[index]);
    ++position;
}

void FileRecord::Transfer(double& variable)
{
    if (mode == kWriting)
        WriteValue(variable);
    else if (mode == kReading)
        ReadValue(variable);
}

void FileRecord::Flush() const
{
    if (mode != kWriting || name.empty())
        return;
    std::FILE* file = std::fopen(LibraryPath(name).c_str(), "wb");
    if (!file)
        return;
    for (float value : values)
    {
        const auto byte = static_cast<unsigned char>(RoundIndex(static_cast<double>(value)) & 0xFF);
        std::fputc(byte, file);
    }
    std::fclose(file);
}

} // namespace vrn

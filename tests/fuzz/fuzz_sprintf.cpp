// Fuzz target: the sprintf built-in with arbitrary format texts and arguments.
#include "runtime/string_slots.h"

#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    vrn::StringSlots slots;
    double args[8] = {};
    const std::size_t argBytes = size < sizeof args ? size : sizeof args;
    std::memcpy(args, data, argBytes);
    slots.Assign(1, std::string(reinterpret_cast<const char*>(data) + argBytes, size - argBytes));
    slots.Assign(2, "text for %s");
    slots.Sprintf(3, 1, args, 8);
    slots.Sprintf(1, 1, args, static_cast<std::size_t>(size % 9)); // destination is the format
    slots.Strcat(3, 3);
    if (slots.Slot(3).size() > 2 * 523 + 11)
        __builtin_trap();
    return 0;
}

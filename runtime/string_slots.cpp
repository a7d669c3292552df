// String slots: lookup, creation and the slot count.
#include "runtime/string_slots.h"

#include "runtime/numeric.h"

namespace vrn
{

std::string& StringSlots::Slot(double number)
{
    std::string& text = slots[RoundIndex(number)];
    count = static_cast<double>(slots.size());
    return text;
}

void StringSlots::Assign(double number, const std::string& text)
{
    Slot(number) = text;
}

bool StringSlots::Contains(double number) const
{
    return slots.count(RoundIndex(number)) != 0;
}

void StringSlots::Clear()
{
    slots.clear();
    count = 0.0;
}

void StringSlots::Strcat(double destination, double source)
{
    const std::string appended = Slot(source); // copy: source and destination may be one slot
    Slot(destination) += appended;
}

} // namespace vrn

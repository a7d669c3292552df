#pragma once
// The gate's names in the LV2 world: its URIs and the layout of its ports.

#include "effect/gate_parameters.h"

#include <cstdint>

namespace vrn::lv2
{

/// The plug-in's URI. A UUID URN: unique without a domain or a registry of our own, and it
/// never changes (hosts save sessions under it).
constexpr char kPluginUri[] = "urn:uuid:7fede498-d643-400c-a564-91621919238f";
/// Key of the state property that holds the host chunk (an atom:Chunk of 260 bytes).
constexpr char kChunkKeyUri[] = "urn:uuid:7fede498-d643-400c-a564-91621919238f#chunk";

/// Port indexes. Control port i is host parameter i (the slider table's order); then the
/// stereo audio ports and the latency output.
enum Port : std::uint32_t
{
    kFirstControl = 0,
    kInputLeft = kFirstControl + gate::kGateSliderCount,
    kInputRight,
    kOutputLeft,
    kOutputRight,
    kLatency, ///< control output: Pre-Gate's delay, samples
    kPortCount,
};

constexpr std::uint32_t kControlPortCount = gate::kGateSliderCount;

} // namespace vrn::lv2

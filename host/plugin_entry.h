#pragma once
// Builds one VARNE Gate instance for a host.

#include "host/vst2_abi.h"

namespace vrn
{

/// The plug-in's AEffect for `audioMaster`, or null when the host cannot take it.
AEffect* CreateGatePlugin(audioMasterCallback audioMaster);

} // namespace vrn

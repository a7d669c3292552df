// Builds one VARNE Gate instance: the gate effect inside the host wrapper.
#include "host/plugin_entry.h"

#include "effect/gate_effect.h"
#include "host/effect_callbacks.h"

namespace vrn
{

static_assert(FourCharacterId("VRN2") == 0x56524E32, "unique ID packs the first character high");

AEffect* CreateGatePlugin(audioMasterCallback audioMaster)
{
    return CreatePlugin<TXaltoEffect>(audioMaster);
}

} // namespace vrn

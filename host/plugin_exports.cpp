// The library's exported entry points.
#include "host/plugin_entry.h"

extern "C"
{

    /// The VST 2.4 entry point (on Windows also exported as `main`).
    vrn::AEffect* VRN_VST_CALL VSTPluginMain(vrn::audioMasterCallback audioMaster)
    {
        return vrn::CreateGatePlugin(audioMaster);
    }

    /// The older entry point name some hosts look for.
    vrn::AEffect* VRN_VST_CALL MAIN(vrn::audioMasterCallback audioMaster)
    {
        return vrn::CreateGatePlugin(audioMaster);
    }

} // extern "C"

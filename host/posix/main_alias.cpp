// Exports the entry point under the name `main` as well. C++ cannot declare a function called
// main with this signature, so the symbol name is given at assembler level.
#include "host/plugin_entry.h"

extern "C" vrn::AEffect* VstMainEntry(vrn::audioMasterCallback audioMaster) __asm__("main");

extern "C" vrn::AEffect* VstMainEntry(vrn::audioMasterCallback audioMaster)
{
    return vrn::CreateGatePlugin(audioMaster);
}

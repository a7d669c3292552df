// Build step: writes the bundle's manifest.ttl and the plug-in's description from the effect's
// slider table, so the Turtle and the library can never disagree.
//
//   make_turtle BUNDLE_DIR BINARY_FILE DESCRIPTION_FILE
#include "effect/gate_effect.h"
#include "lv2/turtle_description.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace
{

bool WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file)
    {
        std::fprintf(stderr, "make_turtle: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::fprintf(stderr, "usage: make_turtle BUNDLE_DIR BINARY_FILE DESCRIPTION_FILE\n");
        return 2;
    }
    const std::string folder = argv[1];
    const vrn::TXaltoEffect effect;
    const std::string problem = vrn::lv2::DescriptionProblem(effect);
    if (!problem.empty())
    {
        std::fprintf(stderr, "make_turtle: %s\n", problem.c_str());
        return 1;
    }
    const bool written =
        WriteFile(folder + "/manifest.ttl", vrn::lv2::ManifestTurtle(argv[2], argv[3])) &&
        WriteFile(folder + "/" + argv[3], vrn::lv2::PluginTurtle(effect));
    return written ? 0 : 1;
}

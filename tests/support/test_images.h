#pragma once
// The fake back end's stand-in for module resources: tests say which images exist.

namespace vrn::editor_platform
{

/// From now on, resource `id` decodes to an image of `width` × `height` pixels.
void AddTestResourceImage(int id, int width, int height);
/// No resource image exists any more.
void ClearTestResourceImages();
/// How often a resource and a file were asked for since the last clear (tests of caching).
int ResourceLoadCount();
int FileLoadCount();

} // namespace vrn::editor_platform

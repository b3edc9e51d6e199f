#include "platform/FontFaces.h"

#include <fontconfig/fontconfig.h>

namespace platform {

void leaveOutType1Faces()
{
    static const char rule[] = R"(<?xml version="1.0"?>
<fontconfig>
  <selectfont>
    <rejectfont>
      <pattern><patelt name="fontformat"><string>Type 1</string></patelt></pattern>
    </rejectfont>
  </selectfont>
</fontconfig>
)";
    // The user's and the system's configuration, as fontconfig's own start reads it; the faces
    // are listed from its caches only once the rule is in, so the rule sees each of them.
    FcConfig* const config = FcInitLoadConfig();
    if (!config)
        return;
    if (FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(rule), FcTrue) &&
        FcConfigBuildFonts(config))
        FcConfigSetCurrent(config); // takes its own reference
    FcConfigDestroy(config);
}

} // namespace platform

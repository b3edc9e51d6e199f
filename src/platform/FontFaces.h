#pragma once

namespace platform {

// Leaves Type 1 faces (.pfb, .t1) out of the fonts Lexamo draws with. FreeType reads such a face
// many times slower than the same design as OpenType, which is how Debian ships the faces the
// layout names (URW's P052 comes as both); reading two of them cost the start about a fifth of
// its time. GTK's text layout has drawn no Type 1 face since 2019, so a desktop user sees no
// difference. Call it once, before anything asks for a font: it loads the font configuration,
// which Qt would otherwise load at its first font, with the one rule added. Without fontconfig,
// or if the configuration cannot be loaded this way, it does nothing and Qt loads it as usual.
void leaveOutType1Faces();

} // namespace platform

#pragma once

namespace platform {

// Past a file size limit (RLIMIT_FSIZE) the system kills a program that writes, without a word.
// With the signal ignored the write fails instead, and the save reports "File too large".
void ignoreFileSizeSignal();

} // namespace platform

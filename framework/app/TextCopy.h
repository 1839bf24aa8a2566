// Owned copies of texts. Needs no platform.
#pragma once

// A new[]-allocated copy of `text` (null reads as empty); free with delete[].
char* copyText(const char* text);

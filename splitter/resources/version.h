#pragma once
// The one place for Zelbrin's version: used by the version resource and the
// dialog caption.
#define ZELBRIN_VERSION_BINARY 1, 0, 8, 20118
#define ZELBRIN_FILE_VERSION "1, 0, 8, 0 (020118)"
#define ZELBRIN_PRODUCT_VERSION "1, 0, 8, 020118"
#define ZELBRIN_SPECIAL_BUILD "010325"
#define ZELBRIN_CAPTION "Zelbrin V 1.0.8 (build 020118) "

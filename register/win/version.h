#pragma once
// The program's version, shared by the version resource and the code that
// reads it back. The caption shows major.minor.revision from the resource.
#define OMBRIEL_VER_MAJOR 1
#define OMBRIEL_VER_MINOR 2
#define OMBRIEL_VER_BUILD 0
#define OMBRIEL_VER_REVISION 1
#define OMBRIEL_VER_TEXT "1.02.0001"

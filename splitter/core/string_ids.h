#pragma once
// String-table ids of the texts the engines use: the lines of JOIN.BAT and
// the messages they show. Macros, so that the program's .rc reads the same
// list as the code.

// JOIN.BAT, line groups written first, for piece 1, for each later piece,
// and last.
#define IDS_BATCH_HEADER 10
#define IDS_BATCH_FIRST 11
#define IDS_BATCH_NEXT 12
#define IDS_BATCH_FOOTER 13

#define IDS_NO_SOURCE_FILE 16
#define IDS_ZERO_LENGTH_FILE 17
#define IDS_NO_TARGET_DIRECTORY 18
#define IDS_LOW_ON_MEMORY 19
#define IDS_NOT_FIRST_PIECE 20
#define IDS_NOT_ENOUGH_FREE_SPACE 21
#define IDS_JOINED_CRC_ERROR 23
#define IDS_JOIN_SUCCEEDED 24
#define IDS_NO_VALUE 25
#define IDS_MAP_VIEW_FAILED 26
#define IDS_ONLY_NUMBERS 27
#define IDS_SPLIT_SUCCEEDED 32
#define IDS_MAPPING_FAILED 33
#define IDS_API_FAILURE 34

// Failures the engines examine and report, with the file and the system's
// reason; shared by split and join where the failure is the same.
#define IDS_SOURCE_READ_FAILED 35
#define IDS_PIECE_CREATE_FAILED 36
#define IDS_PIECE_WRITE_FAILED 37
#define IDS_CHECKSUM_FILE_FAILED 38
#define IDS_BATCH_FILE_FAILED 39
#define IDS_SOURCE_CHANGED 40
#define IDS_PIECE_OPEN_FAILED 41
#define IDS_PIECE_READ_FAILED 42
#define IDS_OUTPUT_CREATE_FAILED 43
#define IDS_OUTPUT_WRITE_FAILED 44
#define IDS_SOURCE_OPEN_FAILED 45
// Join failures of its own.
#define IDS_FIRST_PIECE_MISSING 48
#define IDS_PIECE_SET_CHANGED 49
#define IDS_JOINED_NOT_REMOVED 50

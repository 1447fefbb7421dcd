#pragma once
// String-table ids of the messages a join can end with. Plain #defines, so
// the resource compiler reads this header too.

#define IDS_NO_SOURCE 16
#define IDS_NO_TARGET 18
#define IDS_LOW_MEMORY 19
#define IDS_NOT_FIRST_PIECE 20
#define IDS_JOIN_CRC_ERROR 23
#define IDS_JOIN_FINISHED 24

#define IDS_JOIN_PIECE_OPEN_FAILED 48
#define IDS_JOIN_PIECE_READ_FAILED 49
#define IDS_JOIN_OUTPUT_CREATE_FAILED 50
#define IDS_JOIN_OUTPUT_WRITE_FAILED 51
#define IDS_JOIN_FIRST_PIECE_MISSING 52

#pragma once
// String-table ids of the messages the engines show with ShowMessage. The
// texts live in splitter/resources (the .rc and split_strings.rci).
enum MessageId : int {
    MsgNoSourceFile = 16,
    MsgZeroLengthFile = 17,
    MsgNoTargetDirectory = 18,
    MsgLowOnMemory = 19,
    MsgNotFirstPiece = 20,
    MsgNotEnoughFreeSpace = 21,
    MsgJoinedCrcError = 23,
    MsgJoinSucceeded = 24,
    MsgNoValue = 25,
    MsgMapViewFailed = 26,
    MsgOnlyNumbers = 27,
    MsgSplitSucceeded = 32,
    MsgMappingFailed = 33,
    MsgApiFailure = 34,
    // Failures the engines examine and report; shared by split and join
    // where the failure is the same.
    MsgSourceReadFailed = 35,
    MsgPieceCreateFailed = 36,
    MsgPieceWriteFailed = 37,
    MsgChecksumFileFailed = 38,
    MsgBatchFileFailed = 39,
    MsgSourceChanged = 40,
    MsgPieceOpenFailed = 41,
    MsgPieceReadFailed = 42,
    MsgOutputCreateFailed = 43,
    MsgOutputWriteFailed = 44,
};

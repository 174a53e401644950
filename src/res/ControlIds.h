#pragma once

// Numeric ids of the windows' controls; behaviour and tests refer to them.
namespace tarvo::id {

// Main window (template 102)
inline constexpr int kTable = 1000;
inline constexpr int kStartDev = 1001;
inline constexpr int kSave = 1003;
inline constexpr int kCom1 = 1007;
inline constexpr int kCom2 = 1008;
inline constexpr int kFileType = 1009;
inline constexpr int kClear = 1012;
inline constexpr int kInstantSave = 1013;
inline constexpr int kDelete = 1014;
inline constexpr int kChange = 1015;
inline constexpr int kBeep = 1016;
inline constexpr int kPrint = 1020;
inline constexpr int kExcel = 1030;
inline constexpr int kDateText = 1061;
inline constexpr int kCommentEdit = 1063;
inline constexpr int kComment = 1064;
inline constexpr int kCom3 = 1065;
inline constexpr int kCom4 = 1066;

// System menu command of the About entry
inline constexpr int kAboutCommand = 16;

// Excel dialog (template 132)
inline constexpr int kExcelClose = 1;
inline constexpr int kExcelCancel = 2;
inline constexpr int kFileName = 1031;
inline constexpr int kFileNameLabel = 1032;
inline constexpr int kSheetNameLabel = 1033;
inline constexpr int kSheetName = 1034;
inline constexpr int kSet1Group = 1035;
inline constexpr int kHorizontal = 1037;
inline constexpr int kVertical = 1038;
inline constexpr int kSet2Group = 1039;
inline constexpr int kSet1Row = 1041;
inline constexpr int kSet1Column = 1042;
inline constexpr int kSet1FirstListColumn = 1044;
inline constexpr int kSet1Length = 1046;
inline constexpr int kSet2Row = 1048;
inline constexpr int kSet2Column = 1049;
inline constexpr int kSet2FirstListColumn = 1050;
inline constexpr int kSet2Length = 1051;
inline constexpr int kBrowse = 1054;
inline constexpr int kInitExcel = 1055;
inline constexpr int kShowExcel = 1056;
inline constexpr int kHideExcel = 1057;
inline constexpr int kCloseExcel = 1058;
inline constexpr int kSaveExcel = 1059;
inline constexpr int kInitValues = 1060;

}  // namespace tarvo::id

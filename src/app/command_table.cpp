#include "app/command_table.h"

#include <algorithm>

namespace tabulo::app {

const std::vector<MenuRow>& menuRows() {
    static const std::vector<MenuRow> rows = {
        {"File1", "ファイル(&F)", ""},
        {"Format1", "検索・書式(&O)", ""},
        {"Edit1", "範囲行編集(&E)", ""},
        {"N15", "範囲行処理", ""},
        {"Awk", "Script", ""},
        {"SortS1", "File検索(&G)", ""},
        {"GrRun", "グラフ", "関数を描いたり、グラフィックファイルの読み込みをします"},
        {"Show1", "Help(&H)", ""},
    };
    return rows;
}

const std::vector<MenuItemRow>& menuItemRows() {
    static const std::vector<MenuItemRow> rows = {
        {"File1", "New1", "画面白紙(&D)", "Ctrl+D", "", ""},
        {"File1", "Open1", "開く(&O)...", "", "", ""},
        {"File1", "ReOpen", "開き直す", "", "", ""},
        {"File1", "History", "History", "", "", "ReOpen"},
        {"File1", "Del_History", "履歴削除", "", "", "ReOpen", true},
        {"File1", "ReadBackup", "Backup File 読み込み", "", "", ""},
        {"File1", "Save", "上書き保存(&S)", "Ctrl+S", "", "", true},
        {"File1", "SaveAs1", "名前を付けて保存(&A)", "", "", ""},
        {"File1", "Print1", "印刷(&P)", "Ctrl+P", "", "", true},
        {"File1", "Exit1", "終了(&X)", "", "", "", true},

        {"Format1", "Wrap1", "右端折り返し", "", "右端を折り返す( ON OFF)", ""},
        {"Format1", "Find1", "検索(&F)", "Ctrl+F", "", ""},
        {"Format1", "Bullets1", "インデント(&B)", "", "タブ・空白のインデント(ON OFF)", "", true},
        {"Format1", "Font2", "全体のフォント", "", "Tabuloのフォント指定", "", true},
        {"Format1", "ShowOpt", "画面環境オプション", "", "", ""},

        {"Edit1", "SelectAll1", "すべて選択(&A)", "", "", ""},
        {"Edit1", "AddReturn", "右端折り返し固定", "", "", "", true},
        {"Edit1", "DelLine", "同一行削除", "", "", "", true},
        {"Edit1", "DelNullLine", "空白行削除", "", "", ""},
        {"Edit1", "DelSpaceRL", "左右空白削除", "", "", ""},
        {"Edit1", "AddString", "行に文字列を挿入", "", "行に文字列を挿入", "", true},

        {"N15", "Sort", "Line Sort 昇順", "", "", ""},
        {"N15", "SortR", "Line Sort 降順", "", "", ""},
        {"N15", "SJIS1", "文字コード変換", "", "", "", true},
        {"N15", "S", "→ ShiftJIS", "", "", "SJIS1"},
        {"N15", "J", "→ JIS", "", "", "SJIS1", true},
        {"N15", "E", "→ EUC", "", "", "SJIS1"},
        {"N15", "ToUtf8", "→ UTF-8", "", "", "SJIS1", true},
        {"N15", "FromUtf8", "UTF-8 →", "", "", "SJIS1"},
        {"N15", "U", "→ uuencode", "", "", "SJIS1", true},
        {"N15", "H", "→ BinHex", "", "", "SJIS1"},
        {"N15", "B", "→ Base64", "", "", "SJIS1"},
        {"N15", "DecodeUU", "uuencode →", "", "", "SJIS1", true},
        {"N15", "DecodeBinHex", "BinHex →", "", "", "SJIS1"},
        {"N15", "DecodeBase64", "Base64 →", "", "", "SJIS1"},
        {"N15", "RetCode1", "改行コード", "", "", ""},
        {"N15", "RetCrLf", "CR+LF", "", "", "RetCode1"},
        {"N15", "RetLf", "LF", "", "", "RetCode1"},
        {"N15", "RetCr", "CR", "", "", "RetCode1"},
        {"N15", "FuncLen", "関数の行数(C,C++)", "", "", "", true},

        {"Awk", "mAwk", "Awk", "", "", ""},
        {"Awk", "mRuby", "Ruby", "", "", ""},
        {"Awk", "mSed", "Sed", "", "", ""},
        {"Awk", "mXtr", "XTR", "", "", ""},
        {"Awk", "SetFile", "Script環境", "", "", "", true},

        {"SortS1", "Namazu", "全文検索システムNamazu", "", "", ""},
        {"SortS1", "Grep", "複数File検索 Grep", "Ctrl+G", "", "", true},
        {"SortS1", "TagJump", "この行のファイルを開く", "F12", "", ""},
        {"SortS1", "MChgLine", "〒To住所 この行変換", "F11", "", "", true},

        {"GrRun", "fn0", "y = f(x)", "", "", ""},
        {"GrRun", "fn1", "x = f(t) , y = g(t)", "", "", ""},
        {"GrRun", "fn2", "極座標 r = f(t)", "", "", ""},
        {"GrRun", "JpegBMP1", "Jpeg,BMP 印刷", "", "グラフィックファイルの読み込み", "", true},

        {"Show1", "StopBt", "編集処理中止", "", "", ""},
        {"Show1", "HelpBt", "機能説明", "", "", "", true},
        {"Show1", "CharCord", "指定文字コード", "", "", ""},

        {"PopupMenu1", "N23", "計算式・グラフ描画", "F9", "", ""},
        {"PopupMenu1", "Undo1", "元に戻す(&Z)", "Ctrl+Z", "", "", true},
        {"PopupMenu1", "Repeat1", "やり直し(&R)", "Ctrl+R", "", ""},
        {"PopupMenu1", "Cut1", "切り取り(&X)", "Ctrl+X", "", "", true},
        {"PopupMenu1", "N20", "貼り付け(&V)", "Ctrl+V", "", ""},
        {"PopupMenu1", "Copy1", "コピー(&C)", "Ctrl+C", "", ""},
        {"PopupMenu1", "N22", "全て選択(&A)", "Ctrl+A", "", "", true},
        {"PopupMenu1", "Delete1", "１行削除(&Y)", "Ctrl+Y", "", "", true},
        {"PopupMenu1", "N25", "１行挿入(&N)", "Ctrl+N", "", ""},
        {"PopupMenu1", "N27", "指定行ジャンプ(&J)", "Ctrl+J", "", "", true},
        {"PopupMenu1", "BoxMode1", "Ｂｏｘ 選択モード(&B)", "Ctrl+B", "", "", true},
    };
    return rows;
}

const std::vector<ToolButtonRow>& toolButtonRows() {
    static const std::vector<ToolButtonRow> rows = {
        {"_New1", "白", "画面を白紙に戻す Ctrl+D", "New1", 0},
        {"_Open1", "開", "ファイルを開く", "Open1", 0},
        {"_SaveAs", "保", "名前を付けて保存", "SaveAs1", 0},
        {"_Print1", "印", "印刷 Ctrl+P", "Print1", 0},
        {"_Find1", "検", "カーソル位置から検索・置換 Ctr+F", "Find1", 1},
        {"_Undo", "戻", "Undo  Ctr+Z(U)", "_Undo", 2},
        {"_Redo", "進", "Redo Ctr+R", "_Redo", 2},
        {"_Wrap1", "折", "右側の折り返し(On/Off)", "Wrap1", 3, true},
        {"_Bullets1", "字", "インデントの有効(On/Off)", "Bullets1", 4, true},
        {"SpeedButton6", "Ａ", "画面全体のフォント指定", "Font2", 5},
        {"_SelectAll1", "全", "すべて選択(On/Off)", "SelectAll1", 6, true},
        {"ToCrip", "写", "クリップボードにコピー  Ctrl+C", "ToCrip", 7},
        {"Clip2Text", "貼", "クリップボードからペースト Ctrl+V", "Clip2Text", 7},
        {"_AddReturn", "固", "折り返しで改行を付け固定 ( 右側折り返しモード時)", "AddReturn", 8},
        {"_DelNullLine", "空", "反転部分の空白行を削除する", "DelNullLine", 8},
        {"_DelLine", "同", "反転部分の同一行を削除し１行だけにする。", "DelLine", 8},
        {"_DelSpaceRL", "端", "反転した行の左右の空白を削除", "DelSpaceRL", 8},
        {"_AddString", "挿", "", "AddString", 8},
        {"_mAwk", "Ａw", "Awk Script", "mAwk", 9},
        {"_mRuby", "Ｒb", "Ruby Script", "mRuby", 9},
        {"_mSed", "Ｓd", "Sed Script", "mSed", 9},
        {"_mXtr", "Ｘt", "XTR Script", "mXtr", 9},
        {"_Sort", "昇", "範囲指定行を行単位で並び替え（昇順）", "Sort", 10},
        {"_SortR", "降", "範囲指定行を行単位で並び替え（降順）", "SortR", 10},
        {"_Grep", "Ｇ", "複数ファイル内の検索(Grep) Crtl+G", "Grep", 11},
        {"_Namazu", "Ｎ", "全文検索システム Namazu", "Namazu", 11},
        {"_TagJump", "跳", "", "TagJump", 11},
        {"_fn0", "グ", "", "_fn0", 12},
        {"_SetFile", "設", "", "SetFile", 13},
    };
    return rows;
}

const std::vector<std::string_view>& pendingCommands() {
    // Switched on by the subsystems that implement them, as they are built.
    static const std::vector<std::string_view> names = {
    };
    return names;
}

bool isPending(std::string_view name) {
    const auto& names = pendingCommands();
    return std::find(names.begin(), names.end(), name) != names.end();
}

const std::vector<std::string_view>& disabledAtStart() {
    static const std::vector<std::string_view> names = {
        "_AddReturn", "_DelNullLine", "_DelLine", "_DelSpaceRL", "_AddString", "_Sort", "_SortR",
        "ToCrip", "AddReturn", "DelLine", "DelNullLine", "DelSpaceRL", "AddString", "Sort",
        "SortR", "SJIS1", "StopBt",
    };
    return names;
}

}  // namespace tabulo::app

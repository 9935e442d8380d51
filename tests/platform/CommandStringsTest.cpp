// What the status bar and the tool tips show for each command: the text before the line break goes
// to the status bar while the pointer rests on the command, the text after it is the command's title.
#include <gtest/gtest.h>

#include <string>

#include "platform/Strings.h"

TEST(CommandStrings, EachCommandShowsItsOwnTexts) {
    const struct {
        unsigned int id;
        const char* text;
    } kCommands[] = {
        {1167, "選択された図形をﾊﾟｰﾂとして登録\nﾊﾟｰﾂ追加"},
        {32780, "２つの線を円でつなげる\n角丸め"},
        {32782, "寸法線（自由寸法）\n寸法線"},
        {32788, "0.0"},
        {32789, "0.2"},
        {32790, "0.5"},
        {32791, "図形選択モード移行\n図形選択"},
        {32820, "指定した線に他の線をつける\n線分延長"},
        {32833, "ハッチング\nハッチング"},
        {32840, "指定した線を他の線の交点で切断\n線分線切断"},
        {32841, "線分切断\n線分切断"},
        {32842, "囲まれた線を整形する\n包絡処理"},
        {32851, "点指定による角度\n角度"},
        {32852, "2線を指定してその間の角度\n線間角度"},
        {32868, "横寸法線\n横寸法線"},
        {32869, "縦寸法線\n縦寸法線"},
        {32870, "円の直径\n直径"},
        {32871, "円の半径\n半径"},
        {32872, "２線間角度測定\n角度測定"},
        {32873, "２点間距離測定\n距離"},
        {33006, "2つの閉図形の間で演算を実行する\n演算"},
        {33008, "２つの線を選んで面取り\n面取り"},
        {33010, "線を部分的に消す\n部分消去"},
        {33013, "線分をポリライン化\nポリライン化"},
        {33015, "2本の線ではさまれた範囲を消去\n2線分内消去"},
        {33038, "選択ツールで変形するときにポイント編集をします\nポイント編集"},
        {33087, "ストレッチ\nストレッチ"},
        {33088, "基準点設定"},
        {33098, "ポリゴン領域の面積測定\n面積測定"},
        {33108, "選択される図形を選びます\n選択フィルター"},
        {62794, "この線に対象コピー"},
        // The application's own commands.
        {33080, "ヘルプ\nヘルプ"},
        {57600, "新規にﾌｧｲﾙを作成\n新規作成"},
        {57601, "既存のﾌｧｲﾙを開く\n開く"},
        {57606, "ﾌﾟﾘﾝﾀ/印刷設定の変更\nプリンタの設定"},
        {57664, "ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示\nバージョン情報"},
        // The status bar's lock-key panes.
        {59137, "CAP"},
        {59138, "NUM"},
        {59139, "SCRL"},
        {59142, "ｶﾅ"},
    };
    for (const auto& c : kCommands)
        EXPECT_EQ(AfxLoadString(c.id), c.text) << "command " << c.id;
}

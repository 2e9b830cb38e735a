#include "enemy/roster.h"

#include "platform/cp932_literal.h"

namespace velkor::enemy_internal {

namespace {

// Lines are joined by CR LF; the battle writes each text without a line end.
// A spoken text is one quotation: 「 on its first line, 」 on its last, and a
// full-width space in front of every continuation line.

constexpr std::string_view MayaEncounter =
    "「お願い、見逃して……。わたし、誰にも何もしてないの。\r\n"_cp
    "　この街で、ただ静かに暮らしていただけなのに」"_cp;
constexpr std::string_view MayaDefeat = "「……お母さん、どこ……？　暗くて、寒いよ……」"_cp;

// The three chimera elves meet the player with the same words.
constexpr std::string_view ChimeraEncounter = "「ニンゲン、ニクイ。キリサイテ、ツギハギニシテヤル」"_cp;
constexpr std::string_view ChimeraArmDefeat =
    "「ア……アア……。\r\n"_cp
    "　ワタシノ腕ハ、ダレノ腕ダッタ……？\r\n"_cp
    "　返シテ……ミンナニ、返シテアゲテ……。\r\n"_cp
    "　……ヤット、眠レル」"_cp;
constexpr std::string_view ChimeraShellDefeat =
    "「硬イ殻モ、守ッテハクレナカッタ……。\r\n"_cp
    "　森ノ匂イガ、スル……」"_cp;
constexpr std::string_view ChimeraLegDefeat = "「モット速ク、逃ゲレバ、ヨカッタ……」"_cp;

constexpr std::string_view HirasakiEncounter =
    "「よう、あんたが噂の新入りか。俺は平崎、ここじゃ一番の古株だ。\r\n"_cp
    "　俺の動きを目で追えるうちに、せいぜい神様にでも祈っときな」"_cp;
constexpr std::string_view HirasakiDefeat =
    "「見えてた……全部、見えてたんだがな……。\r\n"_cp
    "　体の方が、先に音を上げちまったか」"_cp;

constexpr std::string_view CorpseEncounter =
    "腐りかけた屍が、首をかしげてこちらを見ている。\r\n"_cp
    "濁った眼の奥で、何かを思い出そうとしているようだ。"_cp;
constexpr std::string_view CorpseDefeat =
    "屍は崩れ落ちながら、最後に小さく口を動かした。\r\n"_cp
    "それが誰の名前だったのか、もう知る者はいない。"_cp;

// The oni shouts a question; the answer is shouted back over its body.
constexpr std::string_view OniEncounter =
    "地響きとともに、金棒を担いだ鬼が行く手を塞いだ。\r\n"_cp
    "「人の子よ！　貴様、何のために鬼を狩る！」"_cp;
constexpr std::string_view OniDefeat = "「答えてやろう、鬼よ。鬼より恐ろしいものになるためだ！」"_cp;

constexpr std::string_view DemonEncounter =
    "「契約しよう。お前の魂ひとつで、残りの獲物をくれてやる。\r\n"_cp
    "　……断る？　ならば、その魂は力ずくでいただくまでだ」"_cp;
constexpr std::string_view DemonDefeat =
    "「馬鹿な……人間ごときに、この私が……。\r\n"_cp
    "　覚えておけ。お前の魂は、もう半分こちら側にある」"_cp;

// The dragon's two texts end on the same line.
constexpr std::string_view DragonEncounter =
    "山ほどもある竜が翼をたたみ、金の眼でこちらを見下ろしている。\r\n"_cp
    "夜が、ひとつ息を止めた。"_cp;
constexpr std::string_view DragonDefeat =
    "竜の巨体が崩れ落ち、大地が三度揺れた。\r\n"_cp
    "夜が、ひとつ息を止めた。"_cp;

constexpr std::string_view AnemoneEncounter =
    "「いらっしゃい、狩人さん。わたしの心は百年前に凍ったの。\r\n"_cp
    "　誰に斬られても、もう痛くなんてない。\r\n"_cp
    "　さあ、試してごらんなさい」"_cp;
constexpr std::string_view AnemoneDefeat =
    "「……あたたかい。血って、こんなにあたたかかったのね。\r\n"_cp
    "　ありがとう、狩人さん。やっと、泣けそう。\r\n"_cp
    "　わたしに花の名前をくれた人のこと、今なら思い出せる」"_cp;

constexpr std::string_view UmiEncounter =
    "「ここまで来たのね。父の剣が、あなたを待っている。\r\n"_cp
    "　でもその前に、黒野の娘として、わたしがあなたを試す」"_cp;
constexpr std::string_view UmiDefeat =
    "「強いのね……父があなたを選んだ理由が、やっとわかった。\r\n"_cp
    "　黒野の名は、血ではなく刃で継ぐもの。\r\n"_cp
    "　お願い。父を、楽にしてあげて。\r\n"_cp
    "　あの人は、もう長くは剣を握れないから」"_cp;

constexpr std::string_view DaichiEncounter =
    "「よく来た。十一の屍を越えて、ようやくここまで辿り着いたか。\r\n"_cp
    "　この狩りを始めたのは、わしだ。\r\n"_cp
    "　黒野の名を継ぐ者を探して、幾度も獲物を放ち、狩人を招いた。\r\n"_cp
    "　宇美も逝ったか……。不憫な娘よ、わしの眼鏡にはかなわなんだ。\r\n"_cp
    "　わしの体は病に食われ、もう一太刀しか振るえぬ。\r\n"_cp
    "　だが、その一太刀で足りる。\r\n"_cp
    "　抜け。名を継ぐに値するか、見せてもらおう」"_cp;
constexpr std::string_view DaichiDefeat =
    "「見事だ……その刃、確かに受け取った。\r\n"_cp
    "　今日から、お前が黒野だ。\r\n"_cp
    "　狩りは終わらぬ。次の獲物を、待たせるな……」"_cp;

constexpr std::array<std::uint8_t, TalentCount> NoTalents{};
constexpr std::array<std::int32_t, StatCount> NoBonus{};

}  // namespace

// Every entry is worth 100 points of the definition budget (stat points plus
// talent costs), except the corpse at 90; start bonuses come on top.
const std::array<RosterEntry, RosterSize> Roster{{
    // name, stat points (HP, attack, defense, speed), talents (EvilEye, MindEye,
    // Quick, HyperReaction), start bonus, weights (a b c d h x y X Z), texts, title
    {"真山麻耶"_cp,
     {30, 10, 30, 30},
     NoTalents,
     NoBonus,
     {1, 0, 1, 2, 0, 2, 2, 0, 1},
     MayaEncounter,
     MayaDefeat,
     ""},
    {"キメラエルフ"_cp,
     {20, 40, 20, 20},
     NoTalents,
     NoBonus,
     {1, 2, 2, 1, 0, 1, 1, 0, 0},
     ChimeraEncounter,
     ChimeraArmDefeat,
     ""},
    {"キメラエルフ"_cp,
     {20, 20, 40, 20},
     NoTalents,
     NoBonus,
     {1, 1, 1, 1, 0, 0, 2, 0, 0},
     ChimeraEncounter,
     ChimeraShellDefeat,
     ""},
    {"キメラエルフ"_cp,
     {20, 20, 20, 40},
     NoTalents,
     NoBonus,
     {1, 1, 1, 1, 3, 1, 1, 0, 0},
     ChimeraEncounter,
     ChimeraLegDefeat,
     ""},
    {"平崎有三"_cp,
     {20, 20, 10, 42},
     {0, 0, 0, 1},
     NoBonus,
     {2, 2, 2, 1, 2, 2, 1, 3, 0},
     HirasakiEncounter,
     HirasakiDefeat,
     ""},
    {"物思う屍"_cp,
     {35, 25, 10, 20},
     NoTalents,
     {10, 0, 0, 0},
     {1, 1, 0, 1, 0, 1, 0, 0, 1},
     CorpseEncounter,
     CorpseDefeat,
     ""},
    {"鬼"_cp,
     {25, 30, 25, 20},
     NoTalents,
     {0, 10, 0, 0},
     {1, 3, 1, 1, 0, 0, 0, 0, 0},
     OniEncounter,
     OniDefeat,
     "【鬼殺し】"_cp},
    {"悪魔"_cp,
     {25, 15, 25, 35},
     NoTalents,
     {0, 0, 0, 10},
     {1, 1, 1, 1, 3, 1, 2, 0, 0},
     DemonEncounter,
     DemonDefeat,
     "【悪魔殺し】"_cp},
    {"ドラゴン"_cp,
     {30, 30, 10, 30},
     NoTalents,
     {0, 0, 10, 0},
     {1, 1, 1, 1, 1, 1, 1, 0, 0},
     DragonEncounter,
     DragonDefeat,
     "【竜殺し】"_cp},
    {"アネモネ"_cp,
     {30, 10, 20, 24},
     {0, 1, 1, 0},
     {0, 10, 0, 26},
     {1, 1, 1, 1, 1, 1, 1, 5, 0},
     AnemoneEncounter,
     AnemoneDefeat,
     "【魔女の心を溶かした者】"_cp},
    {"黒野宇美"_cp,
     {30, 20, 10, 28},
     {1, 0, 0, 0},
     {0, 0, 0, 42},
     {1, 1, 1, 1, 1, 1, 1, 5, 0},
     UmiEncounter,
     UmiDefeat,
     ""},
    {"黒野大地"_cp,
     {15, 8, 15, 50},
     {1, 0, 0, 0},
     {0, 20, 0, 0},
     {0, 0, 0, 0, 0, 0, 0, 1, 0},
     DaichiEncounter,
     DaichiDefeat,
     ""},
}};

}  // namespace velkor::enemy_internal

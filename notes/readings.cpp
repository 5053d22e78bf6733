// The readings of the 七十二候 (the 略本暦's names, kouName), what each 九星 stands for
// and what each 二十八宿 is said to favour and avoid.

#include "notes/notes.h"

#include <array>
#include <stdexcept>
#include <string>

namespace sorvane::notes {

namespace {

// The readings, from 立春 初候 on, in modern kana. Where almanacs differ, the first list's
// reading is kept and the other is noted beside it.
//   候 1..33: 「七十二候」, 日本辞典 (https://jiten.info/dic/asia/72ko.html), read 2026-12-09.
//   候 34..72, where that page was cut off: 「桐始結花」, 道楽
//   (http://jdohraku.wp.xdomain.jp/?p=557) and 「涼風至」
//   (http://jdohraku.wp.xdomain.jp/cool_breeze-2/) for 34..36, 38..42; tenki.jp
//   (https://tenki.pure-db.com/lite/suppl/grapefruit_j02/2023/08/07/32099.html) for 37;
//   にほんブログ村 (https://blogmura.com/profiles/10343730) for 43..45; うらら暦
//   (https://www.uplab.net/koyomi/?c=nanani&p=秋分) for 46, 47; 「七十二候の行事」, 食ハピ句
//   (https://shoku.hapiku.com/events/event/) for 48..63; buhitter 「七十二候」
//   (https://buhitter.com/search?offset=820&q=七十二候) for 64..66; うらら暦 小寒
//   (https://www.uplab.net/koyomi/?c=nanani&p=小寒) for 67..69; all read 2026-12-09.
//   候 70..72 (款冬華, 水沢腹堅, 鶏始乳): the almanacs' usual readings, not found on a page read.
constexpr std::array<const char*, 72> kKouReading{
    "はるかぜこおりをとく",         // 東風解凍; also こちこおりをとく (うらら暦)
    "うぐいすなく",                 // 黄鶯睍睆; also こうおうけんかんす
    "うおこおりをいずる",           // 魚上氷
    "つちのしょううるおいおこる",   // 土脉潤起; also どみゃくうるおいおこる
    "かすみはじめてたなびく",       // 霞始靆
    "そうもくめばえいずる",         // 草木萌動
    "すごもりむしとをひらく",       // 蟄虫啓戸
    "ももはじめてさく",             // 桃始笑
    "なむしちょうとなる",           // 菜虫化蝶
    "すずめはじめてすくう",         // 雀始巣
    "さくらはじめてひらく",         // 桜始開
    "かみなりすなわちこえをはっす", // 雷乃発声
    "つばめきたる",                 // 玄鳥至
    "こうがんかえる",               // 鴻雁北
    "にじはじめてあらわる",         // 虹始見
    "あしはじめてしょうず",         // 葭始生
    "しもやんでなえいずる",         // 霜止出苗
    "ぼたんはなさく",               // 牡丹華
    "かわずはじめてなく",           // 蛙始鳴
    "みみずいずる",                 // 蚯蚓出
    "たけのこしょうず",             // 竹笋生
    "かいこおきてくわをはむ",       // 蚕起食桑
    "べにばなさかう",               // 紅花栄
    "むぎのときいたる",             // 麦秋至
    "かまきりしょうず",             // 螳螂生
    "くされたるくさほたるとなる",   // 腐草為螢; also かれたるくさほたるとなる
    "うめのみきばむ",               // 梅子黄
    "なつかれくさかるる",           // 乃東枯
    "あやめはなさく",               // 菖蒲華
    "はんげしょうず",               // 半夏生
    "あつかぜいたる",               // 温風至
    "はすはじめてひらく",           // 蓮始開
    "たかすなわちわざをならう",     // 鷹乃学習
    "きりはじめてはなをむすぶ",     // 桐始結花
    "つちうるおうてむしあつし",     // 土潤溽暑
    "たいうときどきにふる",         // 大雨時行; also たいうときどきふる
    "すずかぜいたる",         // 涼風至; also すづかぜいたる, りょうふういたる
    "ひぐらしなく",           // 寒蝉鳴; also かんせんなく
    "ふかききりまとう",       // 蒙霧升降; also のうむしょうこうす
    "わたのはなしべひらく",   // 綿柎開
    "てんちはじめてさむし",   // 天地始粛; also てんちはじめてしゅくす
    "こくものすなわちみのる", // 禾乃登
    "くさのつゆしろし",       // 草露白
    "せきれいなく",           // 鶺鴒鳴
    "つばめさる",             // 玄鳥去
    "かみなりすなわちこえをおさむ", // 雷乃収声
    "むしかくれてとをふさぐ",       // 蟄虫坏戸
    "みずはじめてかるる",           // 水始涸; also みずはじめてかる
    "こうがんきたる",               // 鴻雁来
    "きくのはなひらく",             // 菊花開
    "きりぎりすとにあり",           // 蟋蟀在戸
    "しもはじめてふる",             // 霜始降
    "こさめときどきふる",           // 霎時施
    "もみじつたきばむ",             // 楓蔦黄
    "つばきはじめてひらく",         // 山茶始開
    "ちはじめてこおる",             // 地始凍
    "きんせんかさく",               // 金盞香
    "にじかくれてみえず",           // 虹蔵不見
    "きたかぜこのはをはらう",       // 朔風払葉
    "たちばなはじめてきばむ",       // 橘始黄
    "そらさむくふゆとなる",         // 閉塞成冬
    "くまあなにこもる",             // 熊蟄穴
    "さけのうおむらがる",           // 鱖魚群
    "なつかれくさしょうず",         // 乃東生
    "さわしかのつのおつる",         // 麋角解
    "ゆきわたりてむぎのびる",       // 雪下出麦
    "せりすなわちさかう",           // 芹乃栄
    "しみずあたたかをふくむ",       // 水泉動
    "きじはじめてなく",             // 雉始雊
    "ふきのはなさく",               // 款冬華
    "さわみずこおりつめる",         // 水沢腹堅
    "にわとりはじめてとやにつく",   // 鶏始乳
};

// What each 九星 stands for: its 五行 (the element in its name) and its 方位, from the table of
// the article on 九星 of 東京書籍協会 (https://lp.tosyo-kyokai.co.jp/?p=4809), and its 八卦
// from 「九星」, ピクシブ百科事典 (https://dic.pixiv.net/a/九星); both read 2026-12-09. The
// 五黄 has no 八卦 and stands in the centre (中宮).
constexpr std::array<const char*, 9> kKyuseiMeaning{
    "五行は水、方位は北、八卦は坎の星",         "五行は土、方位は西南、八卦は坤の星",
    "五行は木、方位は東、八卦は震の星",         "五行は木、方位は東南、八卦は巽の星",
    "五行は土、方位は中央、八卦はなく中宮の星", "五行は金、方位は西北、八卦は乾の星",
    "五行は金、方位は西、八卦は兌の星",         "五行は土、方位は東北、八卦は艮の星",
    "五行は火、方位は南、八卦は離の星",
};

// What each 二十八宿 is said to favour and avoid, from 角 on. 角 .. 鬼: 「二十八宿とは」,
// 東京アクセント (https://tokyoaccent.com/calendar/28towa.htm); 柳 .. 軫, where that page was cut
// off: KOYOMI NOTE's day pages (https://koyominote.com/post/calendar-day/?date=2077-01-23 柳,
// https://koyominote.com/post/calendar-shuku28-25/?y=2037 星,
// https://koyominote.com/post/calendar-shuku28-26?y=1937 張,
// https://koyominote.com/post/calendar-day/?date=2070-08-19 翼,
// https://koyominote.com/post/calendar-day/?date=2037-05-13 軫); all read 2026-12-09. Almanacs
// differ in the details (觜 is 着初めに凶 there, 建築に大凶 on KOYOMI NOTE).
constexpr std::array<const char*, 28> kShukuMeaning{
    "柱立て・普請造作・婚礼に吉、葬式に凶",
    "衣類の仕立て・物品の購入に吉、建築に凶",
    "婚礼・新規事の開始に吉、着初めに凶",
    "婚礼・旅行・移転・柱立て・棟上げに吉",
    "移転・旅行に吉、婚礼・普請建築・葬式に凶",
    "婚礼・開店・移転・新規事の開始に吉",
    "動土・集金・建物の改造に吉、葬式に凶",
    "土掘り・倉庫の建築・新規事の開始に吉",
    "移転・旅行ほか万事に吉",
    "稽古事始めに吉、訴訟・婚礼・葬式に凶",
    "衣類の着初め・学問始めに吉、相談事に凶",
    "壁塗り・家の修理・船普請・酒造りに吉",
    "神仏の祭祀・婚礼・祝い事のすべてに吉",
    "新規事の開始・旅立ち・婚礼に吉",
    "柱立て・棟上げ・神仏の祭祀・旅行に吉",
    "動土造作・婚礼・契約・取引始めに吉",
    "公事に関わるのに吉、私事にこだわるのは凶",
    "神仏詣で・新規事の開始に吉、造作や修理に凶",
    "神仏の祭祀・婚礼・屋根ふき・棟上げに吉",
    "稽古始め・仕事始めに吉、着初めに凶",
    "物品の仕入れ・新規の取引・祝い事に吉",
    "神仏の祭祀・種まき・普請建築に吉",
    "祝い事のすべてに大吉、ただし婚礼のみ凶",
    "建築に凶、葬儀は不幸が重なって凶",
    "乗馬始め・治療始めに吉、婚礼・葬儀に凶",
    "旅行・婚礼・就職に吉、種まき・養蚕は大きく利を得る",
    "種まき・旅行に吉、婚礼に凶",
    "ほぼすべての事に吉、衣類の仕立てに凶",
};

} // namespace

const char* shukuMeaning(int shuku) {
    if (shuku < 0 || shuku >= static_cast<int>(kShukuMeaning.size())) {
        throw std::out_of_range("二十八宿 index " + std::to_string(shuku) + " is outside 0..27");
    }
    return kShukuMeaning[static_cast<std::size_t>(shuku)];
}

const char* kyuseiMeaning(int star) {
    if (star < 1 || star > 9) {
        throw std::out_of_range("九星 " + std::to_string(star) + " is outside 1..9");
    }
    return kKyuseiMeaning[static_cast<std::size_t>(star - 1)];
}

const char* kouReading(int kou) {
    if (kou < 0 || kou >= static_cast<int>(kKouReading.size())) {
        throw std::out_of_range("七十二候 index " + std::to_string(kou) + " is outside 0..71");
    }
    return kKouReading[static_cast<std::size_t>(kou)];
}

} // namespace sorvane::notes

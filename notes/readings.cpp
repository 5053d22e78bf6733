// The readings of the 七十二候 (the 略本暦's names, kouName) and what each 九星 stands for.

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

} // namespace

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

// The texts of the notes: names as the almanacs print them, a cell's marks, one-line meanings.

#include "notes/notes.h"

#include <array>
#include <stdexcept>

namespace sorvane::notes {

namespace {

template <typename T, std::size_t N>
const T& pick(const std::array<T, N>& table, int index, const char* what) {
    if (index < 0 || index >= static_cast<int>(N)) {
        throw std::out_of_range(std::string(what) + " index " + std::to_string(index) +
                                " is outside 0.." + std::to_string(N - 1));
    }
    return table[static_cast<std::size_t>(index)];
}

struct SenjitsuText {
    const char* name;
    const char* mark;
    const char* meaning;
};

constexpr std::array<SenjitsuText, kSenjitsuCount> kSenjitsu{{
    {"一粒万倍日", "一粒万倍",
     "一粒の籾が万倍に実るとされ、物事を始めるのによく、借りるのを避ける日"},
    {"天赦日", "天赦", "天が万物の罪を赦すとされる暦の上の最上の吉日"},
    {"寅の日", "寅", "出て行った金が寅のように戻るとされ、旅立ちや金運によいとされる日"},
    {"巳の日", "巳", "弁財天の縁日で、金運や芸事によいとされる日"},
    {"己巳の日", "己巳", "六十日に一度の巳の日で、弁財天の縁日として特に尊ばれる日"},
    {"甲子の日", "甲子", "六十干支の初めの日で、物事を始めるのによいとされる日"},
    {"不成就日", "不成就", "何事も成就しないとされ、事を起こすのを避ける日"},
    {"三隣亡", "三隣亡", "建築に凶とされ、棟上げや普請を避ける日"},
    {"八専", "八専",
     "壬子から癸亥までの十二日のうち間日を除く八日で、雨が多く仏事や婚礼を避けるとされる"},
    {"十方暮", "十方暮",
     "甲申から癸巳までの十日で、十方の気がふさがり相談事がまとまりにくいとされる"},
    {"天一天上", "天一天上",
     "癸巳から戊申までの十六日で、天一神が天上にあり方角の障りがないとされる"},
}};

constexpr std::array<const char*, 12> kChoku{"建", "除", "満", "平", "定", "執",
                                             "破", "危", "成", "納", "開", "閉"};
constexpr std::array<const char*, 12> kChokuMeaning{
    "万物を建て生じる日。柱立て、開店、婚礼などによいとされる",
    "障りを除く日。治療や掃除、祓いによいとされる",
    "物事が満ちる日。移転や婚礼、新規の事によいとされる",
    "物事が平らかになる日。地固めや婚礼、旅行によいとされる",
    "善悪が定まる日。開店や移転、婚礼によいとされ、訴訟や旅行は避ける",
    "執り行う日。祭祀や婚礼、建築によいとされ、金銭の出し入れは避ける",
    "物事を破る日。訴訟や漁猟によく、婚礼や契約は避けるとされる",
    "危ぶむ日。万事に慎むべき日で、登山や船出は避けるとされる",
    "物事が成就する日。新規の事、開店、婚礼によいとされる",
    "物事を納める日。収穫や商品の購入によく、婚礼や見合いは避けるとされる",
    "開き通じる日。建築や移転、婚礼によく、葬儀は避けるとされる",
    "閉じ塞がる日。金銭の収納や建墓によく、開店や婚礼は避けるとされる",
};
constexpr std::array<const char*, 28> kShuku{
    "角", "亢", "氐", "房", "心", "尾", "箕", "斗", "牛", "女", "虚", "危", "室", "壁",
    "奎", "婁", "胃", "昴", "畢", "觜", "参", "井", "鬼", "柳", "星", "張", "翼", "軫"};
constexpr std::array<const char*, 9> kKyusei{"一白水星", "二黒土星", "三碧木星",
                                             "四緑木星", "五黄土星", "六白金星",
                                             "七赤金星", "八白土星", "九紫火星"};
constexpr std::array<const char*, 9> kKyuseiShort{"一白", "二黒", "三碧", "四緑", "五黄",
                                                  "六白", "七赤", "八白", "九紫"};
// The 略本暦's names of the 七十二候, from 立春 初候 (315 degrees) on.
constexpr std::array<const char*, 72> kKou{
    "東風解凍", "黄鶯睍睆", "魚上氷",   "土脉潤起", "霞始靆",   "草木萌動", "蟄虫啓戸", "桃始笑",
    "菜虫化蝶", "雀始巣",   "桜始開",   "雷乃発声", "玄鳥至",   "鴻雁北",   "虹始見",   "葭始生",
    "霜止出苗", "牡丹華",   "蛙始鳴",   "蚯蚓出",   "竹笋生",   "蚕起食桑", "紅花栄",   "麦秋至",
    "螳螂生",   "腐草為螢", "梅子黄",   "乃東枯",   "菖蒲華",   "半夏生",   "温風至",   "蓮始開",
    "鷹乃学習", "桐始結花", "土潤溽暑", "大雨時行", "涼風至",   "寒蝉鳴",   "蒙霧升降", "綿柎開",
    "天地始粛", "禾乃登",   "草露白",   "鶺鴒鳴",   "玄鳥去",   "雷乃収声", "蟄虫坏戸", "水始涸",
    "鴻雁来",   "菊花開",   "蟋蟀在戸", "霜始降",   "霎時施",   "楓蔦黄",   "山茶始開", "地始凍",
    "金盞香",   "虹蔵不見", "朔風払葉", "橘始黄",   "閉塞成冬", "熊蟄穴",   "鱖魚群",   "乃東生",
    "麋角解",   "雪下出麦", "芹乃栄",   "水泉動",   "雉始雊",   "款冬華",   "水沢腹堅", "鶏始乳"};
// 恵方 by the year's stem: 甲・己 東北東, 乙・庚 西南西, 丙・辛・戊・癸 南南東, 丁・壬 北北西.
constexpr std::array<const char*, 10> kEho{"東北東", "西南西", "南南東", "北北西", "南南東",
                                           "東北東", "西南西", "南南東", "北北西", "南南東"};
constexpr std::array<const char*, 10> kStem{"甲", "乙", "丙", "丁", "戊",
                                            "己", "庚", "辛", "壬", "癸"};
constexpr std::array<const char*, 12> kBranch{"子", "丑", "寅", "卯", "辰", "巳",
                                              "午", "未", "申", "酉", "戌", "亥"};

struct KindText {
    const char* name;
    const char* meaning;
};
constexpr std::array<KindText, 9> kKinds{{
    {"節月", "節から次の節の前日までをひと月とする暦注の月と、その干支"},
    {"十二直", "北斗七星の柄の向きに由来し、建から閉まで十二の日の吉凶を示す"},
    {"二十八宿", "月の通り道の二十八の星座を日に配し、その日の吉凶を示す"},
    {"日家九星", "冬至と夏至の近くで向きを変えて日ごとに巡る九つの星"},
    {"月家九星", "節月ごとに一つずつ巡る九つの星"},
    {"年家九星", "立春で替わる年の星"},
    {"正午月齢", "直前の朔から日本時間の正午までの日数"},
    {"七十二候", "二十四節気をさらに三つに分けた季節の名（略本暦の名）"},
    {"恵方", "その年の歳徳神のいる方角。節分の夜に恵方を向いて事を行う"},
}};

} // namespace

const char* senjitsuName(Senjitsu s) {
    return pick(kSenjitsu, static_cast<int>(s), "選日").name;
}
const char* senjitsuMark(Senjitsu s) {
    return pick(kSenjitsu, static_cast<int>(s), "選日").mark;
}
const char* senjitsuMeaning(Senjitsu s) {
    return pick(kSenjitsu, static_cast<int>(s), "選日").meaning;
}
const char* chokuName(int choku) {
    return pick(kChoku, choku, "十二直");
}
const char* chokuMeaning(int choku) {
    return pick(kChokuMeaning, choku, "十二直");
}
const char* shukuName(int shuku) {
    return pick(kShuku, shuku, "二十八宿");
}
const char* kyuseiName(int star) {
    return pick(kKyusei, star - 1, "九星");
}
const char* kyuseiShortName(int star) {
    return pick(kKyuseiShort, star - 1, "九星");
}
const char* kouName(int kou) {
    return pick(kKou, kou, "七十二候");
}
const char* ehoName(int stem) {
    return pick(kEho, stem, "十干");
}
const char* stemName(int stem) {
    return pick(kStem, stem, "十干");
}
const char* branchName(int branch) {
    return pick(kBranch, branch, "十二支");
}
std::string sexagenaryName(int index0) {
    if (index0 < 0 || index0 >= 60) {
        throw std::out_of_range("干支 index " + std::to_string(index0) + " is outside 0..59");
    }
    return std::string(kStem[static_cast<std::size_t>(index0 % 10)]) +
           kBranch[static_cast<std::size_t>(index0 % 12)];
}
const char* noteKindName(NoteKind kind) {
    return pick(kKinds, static_cast<int>(kind), "暦注").name;
}
const char* noteKindMeaning(NoteKind kind) {
    return pick(kKinds, static_cast<int>(kind), "暦注").meaning;
}

} // namespace sorvane::notes

// The rules of the life events as data: the names of each kind, the conventions it is kept by
// (the default first) and the pages each convention was taken from. The counts themselves are
// in the tables of plan.cpp, which name the convention they follow.

#include "lifeevents/life_events.h"

#include <array>
#include <string>

namespace sorvane::lifeevents {

namespace {

constexpr const char* kRead = "2026-12-09";

// The names of each kind: its name, its reading, other writings people type, its key.
struct KindNames {
    Kind kind;
    const char* key;
    std::vector<std::string> names; // the first is the kind's name
};

const std::vector<KindNames>& kindTable() {
    static const std::vector<KindNames> table = {
        {Kind::Oshichiya, "oshichiya", {"お七夜", "おしちや", "命名式"}},
        {Kind::Omiyamairi, "omiyamairi", {"お宮参り", "おみやまいり", "初宮参り", "初宮詣"}},
        {Kind::Okuizome, "okuizome", {"お食い初め", "おくいぞめ", "百日祝い", "ももかいわい"}},
        {Kind::Hatsuzekku, "hatsuzekku", {"初節句", "はつぜっく"}},
        {Kind::Shichigosan, "shichigosan", {"七五三", "しちごさん"}},
        {Kind::Jusanmairi, "jusanmairi", {"十三参り", "じゅうさんまいり", "十三詣り"}},
        {Kind::Seijin, "seijin", {"成人", "せいじん", "成年"}},
        {Kind::Obiiwai, "obiiwai", {"帯祝い", "おびいわい", "戌の日", "いぬのひ", "安産祈願"}},
        {Kind::Yakudoshi, "yakudoshi", {"厄年", "やくどし"}},
        {Kind::Hoyo, "hoyo", {"法要", "ほうよう", "法事", "ほうじ", "年忌"}},
        {Kind::KyurekiTanjobi, "kyureki-tanjobi", {"旧暦誕生日", "きゅうれきたんじょうび"}},
        {Kind::KyurekiMeinichi, "kyureki-meinichi", {"旧暦命日", "きゅうれきめいにち"}},
        {Kind::AgeTable, "age-table", {"年齢", "ねんれい", "年齢早見表"}},
    };
    return table;
}

// The conventions, each with the pages it was read on (all read 2026-12-09).
const std::array<std::vector<Convention>, kKindCount>& conventionTable() {
    static const std::array<std::vector<Convention>, kKindCount> table = {{
        // お七夜
        {{"生まれた日を1日目として7日目",
          {{"https://benricho.org/koyomi/calc-kodomoiwai/index.html",
            "ちょっと便利帳：子どもの祝い事の日の計算", kRead},
           {"http://twinyusu.asia/archives/582.html",
            "新生児の月齢の数え方（お七夜、お宮参り、お食い初め）", kRead}}}},
        // お宮参り
        {{"生まれた日を1日目として男の子は31日目、女の子は32日目",
          {{"https://kooosodate.com/omiya-mairi/girl-when/",
            "お宮参り、【女の子】はいつ行く?日数の計算方法と時期をずらす方法", kRead},
           {"https://www.omiya-mairi.com/info/post-177",
            "女の子のお宮参りの予定は男の子と違うの?計算の仕方は?", kRead},
           {"https://akachan-sukusuku.xyz/"
            "%E4%BD%95%E6%97%A5-%E3%81%84%E3%81%A4%E3%81%BE%E3%81%A7-2548",
            "お宮参りをいつするか計算してみる", kRead}}},
         {"女の子は33日目（男の子は31日目のまま）",
          {{"https://omiyamairi-jinja.com/blog/omiyamairi-girl-when",
            "女の子のお宮参りは生後33日目が一般的", kRead},
           {"http://komatakeys.info/omiyamairiseigonannichi/",
            "お宮参りはいつ?生後何日目に行くのが正解なのか計算してみた!", kRead}}}},
        // お食い初め
        {{"生まれた日を1日目として100日目（110日目、120日目に行う地域もある）",
          {{"https://k3su.xyz/life/100days.php", "百日祝い(お食い初め)はいつ?の電卓", kRead},
           {"https://himekuri-akachan.com/calculator/baby_100_days_calendar.jsp",
            "赤ちゃんの100日カレンダー", kRead},
           {"https://okui-zome.com/mame/005.html", "お食い初めどっとこむ：生後100日目の数え方",
            kRead}}}},
        // 初節句
        {{"女の子は3月3日、男の子は5月5日。節句がお宮参りの日（男31日目・女32日目）より前に"
          "来るときは翌年",
          {{"https://benricho.org/koyomi/calc-kodomoiwai/index.html",
            "ちょっと便利帳：子どもの祝い事の日の計算", kRead},
           {"https://www.aou-ningyou.com/qa_post/4138.html", "初節句とは何ですか?", kRead},
           {"https://biyousuki.com/2495.html", "初節句の男の子、3月生まれはどうするの?", kRead}}},
         {"節句が生後3か月のうちに来るときは翌年",
          {{"https://lucebrillante.com/623.html", "初節句は来年の1歳になってからでもいい?", kRead},
           {"http://www.cdplayright.com/", "初節句とは", kRead}}}},
        // 七五三
        {{"数え年（生まれた年を1歳、1月1日に1歳加える）で男の子3歳・5歳、女の子3歳・7歳、"
          "11月15日（前後1週間を候補とする）",
          {{"https://cawaiku.com/child/pregnancy/753-calendar-5406", "七五三・年齢早見表", kRead},
           {"https://hayamihyo.biz/?p=139", "七五三の年齢早見表/数え年と満年齢別", kRead},
           {"https://fushimi.blog/diversity/celebration/shichigosan/shichigosan_kazoe",
            "【七五三】数え年?満年齢?", kRead}}},
         {"満年齢（11月15日にその歳になっている年）",
          {{"https://cawaiku.com/child/pregnancy/753-calendar-5406", "七五三・年齢早見表", kRead},
           {"https://fushimi.blog/diversity/celebration/shichigosan/shichigosan_kazoe",
            "【七五三】数え年?満年齢?", kRead}}}},
        // 十三参り
        {{"数え年13歳の年の4月13日（旧暦3月13日の縁日）、3月13日〜5月13日を候補とする",
          {{"https://narunote.net/archives/2742", "十三参りっていつ行くの?", kRead},
           {"https://mutehachiman.or.jp/pray/jusanmairi/", "十三詣りについて", kRead},
           {"http://www.kyoto34travel.net/archives/7819123.html",
            "十三まいり★嵐山【法輪寺】&数え年とは", kRead}}},
         {"満13歳になる年（4月13日までに満13歳）",
          {{"https://mutehachiman.or.jp/pray/jusanmairi/", "十三詣りについて", kRead}}}},
        // 成人
        {{"成年は2022年4月1日から満18歳（その日に満18・19歳の人はその日）、それまでは満20歳。"
          "満18歳と満20歳の誕生日も挙げる。2月29日生まれは平年には2月28日",
          {{"https://law-tm.jp/column-japans-legal-age-of-adulthood-dropping/",
            "成人年齢の引き下げ（変わるのはいつからですか?）", kRead},
           {"http://office-maruoka.jp/"
            "index.php?%E6%88%90%E5%B9%B4%E5%B9%B4%E9%BD%A2%E5%BC%95%E4%B8%8B%E3%81%92%E7%AD%89%EF%"
            "BC%88%E6%B0%91%E6%B3%95%E6%94%B9%E6%AD%A3%EF%BC%89",
            "成年年齢引下げ等(民法改正)", kRead},
           {"https://widesoft.co.jp/soumudayori/upup/9005", "「成人年齢の引き下げ」(3月号Vol.125)",
            kRead},
           {"http://koyomi8.com/reki_doc/doc_0870.htm", "2月29日生まれと誕生日（こよみのページ）",
            kRead},
           {"https://shinto-bukkyo.net/?p=3069", "満年齢・数え年とは|意味の違いや数え方", kRead},
           {"https://www.siraberu-tool.net/find-out/age/", "満年齢と数え年を調べる", kRead}}}},
        // 帯祝い
        {{"出産予定日の280日前を妊娠0週0日とし、妊娠5か月（16週0日〜19週6日）の戌の日、"
          "最初の戌の日を帯祝いとする",
          {{"https://oiwai-shussann.com/inunohi102", "戌の日の計算について", kRead},
           {"https://anzankigan-jinja.com/blog/inunohi-when-from-pregnancy",
            "妊娠してから5ヶ月目の最初の戌の日に行く", kRead},
           {"http://xn--k9jzdo3kqh6ip66yco9b.com/archives/543.html",
            "戌の日帯祝いはいつ?計算方法は?", kRead},
           {"https://onlinetoolkit.co/ja/inu-no-hi-calculator", "戌の日計算", kRead}}}},
        // 厄年
        {{"数え年で男25・42・61歳、女19・33・37・61歳が本厄、その前後の年が前厄・後厄、"
          "男42歳・女33歳が大厄。年は1月1日に改まる",
          {{"https://yoritomo-japan.com/gyoji-maturi/yakudosi-hayamihyo.html", "厄年早見表", kRead},
           {"https://saimyouji.jp/free/yakudoshi", "厄年 早見表", kRead},
           {"https://ghostmap.jp/oharai/detail.php?cd=74", "厄年早見表と数え方", kRead},
           {"https://koregasiritai.com/yakudoshi-itsuowaru", "厄年はいつからいつまで?", kRead}}},
         {"年は立春に改まる（立春より前の生まれは前の年の生まれとして見る）",
          {{"https://niigata-konpira.jp/info/1911096", "お知らせ：節分・立春", kRead},
           {"https://koregasiritai.com/yakudoshi-itsuowaru", "厄年はいつからいつまで?", kRead}}}},
        // 法要
        {{"関東：亡くなった日を1日目として初七日は7日目、以後7日ごとに四十九日まで、百か日は"
          "100日目。一周忌は1年後、N回忌はN−1年後",
          {{"https://calc-age.com/memorial_service", "法事(忌日・年忌)の計算", kRead},
           {"https://hotarusou.com/kibiki.html", "忌引き計算表", kRead},
           {"http://www.kousenzi.net/file/syonanoka.html", "初七日、49日、100カ日の調べ方", kRead},
           {"https://dentakujp.com/calculators/49-days",
            "四十九日(49日)法要の日程を自動計算する計算機", kRead}}},
         {"関西：亡くなった日の前日を1日目として数える（忌日はそれぞれ1日早い）",
          {{"https://hotarusou.com/kibiki.html", "忌引き計算表", kRead},
           {"https://saikoji.com/NenkiTable.html", "年忌法要・回忌法要 早見表・一覧表", kRead}}}},
        // 旧暦誕生日
        {{"生まれた日の旧暦の月日を毎年の旧暦で祝う。閏月の生まれは平月の同じ月、その月に30日が"
          "ない年は29日",
          {{"https://divination.page/2024/03/birthday.html",
            "【図解】新暦と旧暦の対応|旧暦の誕生日とは?《宿曜占星術》", kRead},
           {"https://blog.goo.ne.jp./1082ninomiya/d/20171126",
            "閏月に生まれた方の誕生日はどうするのでしょうか?", kRead},
           {"http://koyomi8.com/doc/mlwa/200702200.htm", "記念日考 ・・・ その2（こよみのページ）",
            kRead}}}},
        // 旧暦命日
        {{"亡くなった日の旧暦の月日を毎年の旧暦で偲ぶ。閏月は平月の同じ月、30日がない年は29日",
          {{"https://divination.page/2024/03/birthday.html",
            "【図解】新暦と旧暦の対応|旧暦の誕生日とは?《宿曜占星術》", kRead},
           {"https://flex.okinawa/event/hinukan-1-15",
            "ヒヌカンの旧暦1日と15日がわかる早見表・2019年版", kRead},
           {"https://www.ryuukyuu.co.jp/column_category/gyouji", "沖縄旧暦カレンダー2026",
            kRead}}}},
        // 年齢早見表
        {{"満年齢は誕生日に、数え年は1月1日に1歳加える。干支と元号はその生まれ年のもの",
          {{"https://jobing.jp/"
            "%E5%B9%B4%E9%BD%A2%E5%92%8C%E6%9A%A6%E8%A5%BF%E6%9A%A6%E5%B9%B2%E6%94%AF%E6%97%A9%E8%"
            "A6%8B%E8%A1%A8/",
            "年齢・和暦・西暦・干支 早見表", kRead},
           {"https://thistlefc.com/?p=1567", "数え年と満年齢【数え年のごく簡単な計算法】", kRead},
           {"https://santai-jinja.jp/blog/mannenrei-kazoedoshi", "満年齢と数え年どちらを使う?",
            kRead}}}},
    }};
    return table;
}

const KindNames& namesOf(Kind kind) {
    return kindTable()[static_cast<std::size_t>(kind)];
}

} // namespace

const char* kindName(Kind kind) {
    return namesOf(kind).names.front().c_str();
}

const char* kindKey(Kind kind) {
    return namesOf(kind).key;
}

std::optional<Kind> kindOfName(std::string_view name) {
    for (const KindNames& k : kindTable()) {
        if (name == k.key) {
            return k.kind;
        }
        for (const std::string& n : k.names) {
            if (name == n) {
                return k.kind;
            }
        }
    }
    return std::nullopt;
}

std::vector<std::string> kindNames(Kind kind) {
    return namesOf(kind).names;
}

const std::vector<Convention>& conventions(Kind kind) {
    return conventionTable()[static_cast<std::size_t>(kind)];
}

} // namespace sorvane::lifeevents

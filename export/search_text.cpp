#include "export/search_text.h"

#include "calendar/civil_date.h"
#include "calendar/quoted_text.h"
#include "daysearch/day_facts.h"

namespace sorvane::exports {

std::string quotedInput(std::string_view text, std::size_t limit) {
    return "「" + printableText(text, limit) + "」";
}

std::string queryRefusal(const daysearch::QueryError& error) {
    const std::string& word = error.word();
    if (error.problem() == daysearch::QueryProblem::Empty || word.empty()) {
        return "条件を選ぶか、その他の条件を入力してください。";
    }
    if (error.problem() == daysearch::QueryProblem::TwoKinds && !error.qualifiedForms().empty()) {
        std::string forms;
        for (const std::string& f : error.qualifiedForms()) {
            forms += (forms.empty() ? "" : " か ") + f;
        }
        return quotedInput(word) + "は二つの種類にある名前です。" + forms +
               " のように種類を付けてください。";
    }
    if (error.problem() == daysearch::QueryProblem::UnknownName) {
        const std::string unknown = quotedInput(word) + "という名前はありません。";
        return error.suggestion().empty() ? unknown
                                          : unknown + error.suggestion() + " のことですか。";
    }
    return quotedInput(word) + "を読めません（名前を | でつなぎ、打ち消しは先頭に - を付けます）。";
}

std::string foundCountText(long long count) {
    return "該当 " + std::to_string(count) + " 件";
}

std::string absentDateNote(const std::string& date) {
    const bool thirtieth = date.size() >= 5 && date.substr(date.size() - 5) == "30日";
    return "「" + date + "」はありません：" +
           (thirtieth ? "期間内のその月は29日までです。" : "期間内にその月がありません。");
}

std::string uncoveredNote(const daysearch::Uncovered& u) {
    const std::string reach = daysearch::kindReach(u.kind);
    const std::string days =
        u.weekends ? "は土曜・日曜だけがこの条件に該当します。" : "はこの条件では該当しません。";
    const std::string span = isoDateText(u.first) + "〜" + isoDateText(u.last) + " ";
    return quotedInput(u.word) + "：" + daysearch::kindLabel(u.kind) +
           (reach.empty() ? "はこの年の分を計算できないため、"
                          : "は " + reach + " の範囲だけにあるため、") +
           span + days;
}

} // namespace sorvane::exports

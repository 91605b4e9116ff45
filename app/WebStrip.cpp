#include "app/WebStrip.h"

#include "app/ModuleMain.h"
#include "toolkit/WebText.h"
#include "toolkit/WorkYield.h"

QString WebStripText(const toolkit::WebDocument& document) {
    toolkit::WorkYield yield;
    switch (toolkit::KindOf(document)) {
    case toolkit::WebKind::Html:
        return toolkit::HtmlText(document.text, yield);
    case toolkit::WebKind::Feed:
        if (QString titles = toolkit::FeedText(document.text, yield); !titles.isEmpty())
            return titles;
        break;
    case toolkit::WebKind::Text:
        break;
    }
    QString text = document.text;
    ModuleMain::ReplaceNewLine(text, QStringLiteral(" "));
    ModuleMain::StripEnclosed(text, QStringLiteral("<"), QStringLiteral(">"));
    return text;
}

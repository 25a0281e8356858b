// The scripts of the reading aids: the reading position and the end of a document, the
// code copy button, and the reading theme's style sheet.
#include "PageScripts.h"

#include "ReadingState.h"

#include <algorithm>

namespace tavio::pagescripts {

namespace {

// Installed in every document: reports, as console messages beginning with the marker,
// where the reader is ("pos <share> <url>", the share of the scroll range, after the
// reader has scrolled) and that the end of the document has been shown ("end <url>", once).
const char16_t kScrollReporter[] = uR"js(
(function (marker) {
    var report = console.log.bind(console);
    var endShown = false, pending = 0;
    var measure = function (fromScroll) {
        try {
            var root = document.scrollingElement || document.documentElement;
            if (!root || !document.body)
                return;
            var range = root.scrollHeight - window.innerHeight;
            var y = window.scrollY;
            if (fromScroll)
                report(marker + 'pos ' + (range > 0 ? Math.min(1, Math.max(0, y / range)) : 0).toFixed(4) + ' ' + location.href);
            if (!endShown && y + window.innerHeight >= root.scrollHeight - 4) {
                endShown = true;
                report(marker + 'end ' + location.href);
            }
        } catch (x) {}
    };
    window.addEventListener('scroll', function () {
        if (pending)
            return;
        pending = setTimeout(function () { pending = 0; measure(true); }, 120);
    }, { passive: true });
    window.addEventListener('load', function () { setTimeout(function () { measure(false); }, 50); });
    window.addEventListener('resize', function () { measure(false); });
})(%1);
)js";

// Installed in every document once it is parsed: a small "Kopírovat" button over the
// code block the pointer is on, and the block the pop-up menu was opened on (or the one
// holding the caret, from the keyboard). The button's caption is generated content, so
// that no search of the page ever finds it, and it lives outside the block, so that the
// block's text stays its own. A click reports "copy <text>" with the marker.
const char16_t kCodeCopier[] = uR"js(
(function (marker) {
    var report = console.log.bind(console);
    var style = document.createElement('style');
    style.textContent = '#tavio-copy{position:absolute;z-index:2147483647;display:none;font:12px sans-serif;'
        + 'padding:1px 8px;border:1px solid #888;border-radius:3px;background:#f4f4f4;color:#222;cursor:pointer;opacity:0.9}'
        + '#tavio-copy::before{content:"Kop\u00edrovat"}';
    (document.head || document.documentElement).appendChild(style);
    var button = document.createElement('button');
    button.id = 'tavio-copy';
    button.type = 'button';
    button.tabIndex = -1;
    var shownFor = null;
    var textOf = function (pre) { return pre.innerText.replace(/\r\n?/g, '\n'); };
    button.addEventListener('click', function (e) {
        e.preventDefault();
        e.stopPropagation();
        if (shownFor)
            report(marker + 'copy ' + textOf(shownFor));
    });
    var place = function (pre) {
        if (!document.body)
            return;
        if (!button.parentNode)
            document.body.appendChild(button);
        shownFor = pre;
        var r = pre.getBoundingClientRect();
        button.style.display = 'block';
        button.style.left = (r.right + window.scrollX - button.offsetWidth - 4) + 'px';
        button.style.top = (r.top + window.scrollY + 4) + 'px';
    };
    document.addEventListener('mouseover', function (e) {
        if (e.target === button)
            return;
        var pre = e.target && e.target.closest ? e.target.closest('pre') : null;
        if (pre)
            place(pre);
        else if (shownFor) {
            button.style.display = 'none';
            shownFor = null;
        }
    }, true);
    window.tavioMenuBlock = null;
    document.addEventListener('contextmenu', function (e) {
        var el = e.target && e.target.closest ? e.target.closest('pre') : null;
        if (!el) {
            var s = window.getSelection();
            var n = s && s.rangeCount > 0 ? s.getRangeAt(0).startContainer : null;
            if (n && n.nodeType !== 1)
                n = n.parentNode;
            el = n && n.closest ? n.closest('pre') : null;
        }
        window.tavioMenuBlock = el;
    }, true);
})(%1);
)js";

// The text of the code block the pop-up menu was opened on, or null.
const char16_t kMenuBlockText[] = uR"js(
(function () {
    try {
        var pre = window.tavioMenuBlock;
        return pre && pre.isConnected ? pre.innerText.replace(/\r\n?/g, '\n') : null;
    } catch (e) {
        return null;
    }
})();
)js";

// Keeps the reading theme's style sheet in the document: installed before the page's
// own content, and run again on the shown page when the theme changes. An empty sheet
// removes it. The rules apply to the screen only, so that printing stays light.
const char16_t kTheme[] = uR"js(
(function (css) {
    var apply = function () {
        var root = document.documentElement;
        if (!root)
            return false;
        var el = document.getElementById('tavio-theme');
        if (css.length === 0) {
            if (el)
                el.remove();
            return true;
        }
        if (!el) {
            el = document.createElement('style');
            el.id = 'tavio-theme';
            root.appendChild(el);
        }
        el.textContent = css;
        return true;
    };
    if (!apply()) {
        var watch = new MutationObserver(function () {
            if (apply())
                watch.disconnect();
        });
        watch.observe(document, { childList: true });
    }
})(%1);
)js";

} // namespace

QString scrollReporter(const QString& marker)
{
    return fill(kScrollReporter, marker);
}

QString codeCopier(const QString& marker)
{
    return fill(kCodeCopier, marker);
}

QString menuBlockText()
{
    return QString::fromUtf16(kMenuBlockText);
}

QString scrollToShare(double share)
{
    return QStringLiteral("(function () { try { var root = document.scrollingElement || document.documentElement;"
                          " window.scrollTo(0, %1 * (root.scrollHeight - window.innerHeight)); } catch (e) {} })();")
        .arg(std::clamp(share, 0.0, 1.0), 0, 'f', 4);
}

QString themeSheet(const QString& css)
{
    return fill(kTheme, css);
}

namespace {

QString css(quint32 rgb)
{
    return QStringLiteral("#%1").arg(rgb & 0xffffff, 6, 16, QLatin1Char('0'));
}

} // namespace

QString themePageColour(int theme)
{
    return css(ColoursOf(ReadingTheme(theme)).page);
}

QString themeCss(int theme)
{
    if (theme != int(ReadingTheme::Sepia) && theme != int(ReadingTheme::Dark))
        return {};
    const ThemeColours& c = ColoursOf(ReadingTheme(theme));
    // Everything takes the page's colours except pictures, which are left untouched,
    // and the program's own highlights; links and code blocks get colours of their own.
    return QStringLiteral(
               "@media screen {"
               "html, body { background: %1 !important; color: %2 !important; }"
               // No weight of its own (:where), so that the rules for links and code below win.
               "body :where(*:not(img, svg, video, canvas, .tavio-hl, #tavio-copy, #tavio-find-layer,"
               " #tavio-find-layer *)) {"
               " background-color: transparent !important; color: inherit !important; border-color: %7 !important; }"
               "body [background], body [style*=\"background-image\"] { background-image: none !important; }"
               "a:link, a:link * { color: %3 !important; }"
               "a:visited, a:visited * { color: %4 !important; }"
               "pre, pre *, code, code *, tt, kbd, samp { background-color: %5 !important; color: %6 !important; }"
               "hr { border-color: %7 !important; background-color: %7 !important; }"
               "}")
        .arg(css(c.page), css(c.text), css(c.link), css(c.visited), css(c.code), css(c.codeText), css(c.rule));
}

} // namespace tavio::pagescripts

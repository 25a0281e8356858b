#pragma once

#include "HtmlView.h"

#include <QElapsedTimer>
#include <QTest>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

// Runs a script in the chapter view's page and gives its result, waiting up to 20 s.
// The same script world as the view's own scripts, so that they run in order.
inline QVariant runJs(tavio::HtmlView* view, const QString& script)
{
    QVariant result;
    bool done = false;
    view->engineView()->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld, [&](const QVariant& v) {
        result = v;
        done = true;
    });
    QElapsedTimer t;
    t.start();
    while (!done && t.elapsed() < 20000)
        QTest::qWait(10);
    return result;
}

#include "vysledky/web/LiveJson.h"

#include "vysledky/live/LiveFeed.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace LiveJson {

QByteArray event(const LiveFeed& feed) {
    const PanelView view = feed.view();
    QJsonObject root{{QStringLiteral("zobrazit"), view.shown}};
    if (view.shown) {
        root.insert(QStringLiteral("bezi"), view.running);
        root.insert(QStringLiteral("druzstvo"), view.team);
        root.insert(QStringLiteral("ubehloMs"), view.elapsedMs);
        root.insert(QStringLiteral("cas"), view.time);
        root.insert(QStringLiteral("draha1"), view.lane1);
        root.insert(QStringLiteral("draha2"), view.lane2);
        root.insert(QStringLiteral("konec"), view.end);
        root.insert(QStringLiteral("seq"), qint64(feed.seq()));
        root.insert(QStringLiteral("zdrojMs"), feed.sourceMs());
    }
    QByteArray json = QJsonDocument(root).toJson(QJsonDocument::Compact);
    json.replace("<", "\\u003c").replace(">", "\\u003e").replace("&", "\\u0026");
    return json;
}

} // namespace LiveJson

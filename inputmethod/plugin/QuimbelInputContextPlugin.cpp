// The plugin Qt loads for QT_IM_MODULE=quimbel.

#include "inputmethod/QuimbelInputContext.h"

#include <qpa/qplatforminputcontextplugin_p.h>

class QuimbelInputContextPlugin : public QPlatformInputContextPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QPlatformInputContextFactoryInterface_iid FILE "quimbel.json")
public:
    QPlatformInputContext* create(const QString& key, const QStringList&) override {
        if (key.compare(QLatin1String("quimbel"), Qt::CaseInsensitive) != 0) return nullptr;
        return new QuimbelInputContext;
    }
};

#include "QuimbelInputContextPlugin.moc"

#include "firebird/MonitorSql.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <atomic>

#include "base/Relogio.h"
#include "firebird/Params.h"
#include "platform/DiretorioPrograma.h"

namespace vesko {
namespace {

std::atomic<int> g_ativos{0};
QMutex g_mutex;

QString TextoValor(const TParam& p) {
    if (p.IsNull()) return QStringLiteral("NULL");
    const QVariant& v = p.Value();
    switch (v.typeId()) {
        case QMetaType::QByteArray:
            return QStringLiteral("<%1 bytes>").arg(v.toByteArray().size());
        case QMetaType::QString: {
            QString t = v.toString();
            t.replace(QLatin1Char('\''), QLatin1String("''"));
            return QLatin1Char('\'') + t + QLatin1Char('\'');
        }
        case QMetaType::QDate: return v.toDate().toString(Qt::ISODate);
        case QMetaType::QDateTime: return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
        case QMetaType::Double: return QString::number(v.toDouble(), 'g', 17);
        default: return v.toString();
    }
}

}  // namespace

TMonitorSql::TMonitorSql() { ++g_ativos; }

TMonitorSql::~TMonitorSql() { --g_ativos; }

bool TMonitorSql::Ativo() { return g_ativos.load(std::memory_order_relaxed) > 0; }

QString TMonitorSql::NomeArquivo() { return DiretorioPrograma() + QStringLiteral("MonitorSQL.log"); }

void TMonitorSql::Registrar(const QString& origem, const QString& texto, const TParams* params) {
    if (!Ativo()) return;
    QString e = Relogio::Agora().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    if (!origem.isEmpty()) e += QStringLiteral(" [") + origem + QLatin1Char(']');
    e += QLatin1Char('\n') + texto + QLatin1Char('\n');
    if (params)
        for (const TParam& p : *params)
            e += QStringLiteral("  :%1 (%2) = %3\n").arg(p.Name(), NomeTipoCampo(p.DataType()), TextoValor(p));
    e += QLatin1Char('\n');
    QMutexLocker l(&g_mutex);
    QFile f(NomeArquivo());
    if (f.open(QIODevice::WriteOnly | QIODevice::Append)) f.write(e.toUtf8());
}

}  // namespace vesko

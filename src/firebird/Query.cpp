#include "firebird/Query.h"

#include <QLocale>
#include <cmath>

#include "base/Cp1252.h"
#include "base/Excecoes.h"

namespace vesko {
namespace {

const QDate kDataZero(1899, 12, 30);

QLocale LocalSemMilhar() {
    QLocale l;
    l.setNumberOptions(l.numberOptions() | QLocale::OmitGroupSeparator);
    return l;
}

double SerialDe(const QDateTime& dt) {
    const double dias = static_cast<double>(kDataZero.daysTo(dt.date()));
    const double fracao = dt.time().msecsSinceStartOfDay() / 86400000.0;
    return dias + fracao;
}

QDateTime DeSerial(double serial) {
    const double dias = std::floor(serial);
    const qint64 ms = std::llround((serial - dias) * 86400000.0);
    return QDateTime(kDataZero.addDays(static_cast<qint64>(dias)), QTime(0, 0)).addMSecs(ms);
}

QString TextoData(const QDate& d) { return QLocale().toString(d, QLocale::ShortFormat); }

[[noreturn]] void ErroConversao(const QString& valor, const char* tipo) {
    throw EConvertError(QStringLiteral("'%1' não é um valor %2 válido.").arg(valor, QString::fromUtf8(tipo)));
}

double TextoParaReal(const QString& texto) {
    const QString t = texto.trimmed();
    bool ok = false;
    double v = QLocale().toDouble(t, &ok);
    if (!ok) v = t.toDouble(&ok);
    if (!ok) ErroConversao(texto, "numérico");
    return v;
}

}  // namespace

// ---- TCampoConsulta ----------------------------------------------------------------

const QVariant& TCampoConsulta::Value() const { return m_query->Valor(m_indice); }

bool TCampoConsulta::IsNull() const {
    const QVariant& v = Value();
    return !v.isValid() || v.isNull();
}

QString TCampoConsulta::AsString() const {
    const QVariant& v = Value();
    if (!v.isValid() || v.isNull()) return QString();
    switch (v.typeId()) {
        case QMetaType::QString: return v.toString();
        case QMetaType::Double: return LocalSemMilhar().toString(v.toDouble(), 'g', 15);
        case QMetaType::Bool: return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        case QMetaType::QDate: return TextoData(v.toDate());
        case QMetaType::QTime: return v.toTime().toString(QStringLiteral("HH:mm:ss"));
        case QMetaType::QDateTime: {
            const QDateTime dt = v.toDateTime();
            if (dt.time() == QTime(0, 0)) return TextoData(dt.date());
            return TextoData(dt.date()) + QLatin1Char(' ') + dt.time().toString(QStringLiteral("HH:mm:ss"));
        }
        case QMetaType::QByteArray: return DeCp1252(v.toByteArray());
        default: return v.toString();
    }
}

qint64 TCampoConsulta::AsLargeInt() const {
    const QVariant& v = Value();
    if (!v.isValid() || v.isNull()) return 0;
    switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong: return v.toLongLong();
        case QMetaType::Double: return std::llround(v.toDouble());
        case QMetaType::Bool: return v.toBool() ? 1 : 0;
        case QMetaType::QString:
        case QMetaType::QByteArray: {
            const QString t = AsString().trimmed();
            bool ok = false;
            const qint64 n = t.toLongLong(&ok);
            if (!ok) ErroConversao(AsString(), "inteiro");
            return n;
        }
        default: ErroConversao(AsString(), "inteiro");
    }
}

int TCampoConsulta::AsInteger() const {
    const qint64 n = AsLargeInt();
    if (n < INT32_MIN || n > INT32_MAX) ErroConversao(AsString(), "inteiro");
    return static_cast<int>(n);
}

double TCampoConsulta::AsFloat() const {
    const QVariant& v = Value();
    if (!v.isValid() || v.isNull()) return 0.0;
    switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::Double: return v.toDouble();
        case QMetaType::Bool: return v.toBool() ? 1.0 : 0.0;
        case QMetaType::QDate: return SerialDe(QDateTime(v.toDate(), QTime(0, 0)));
        case QMetaType::QTime: return v.toTime().msecsSinceStartOfDay() / 86400000.0;
        case QMetaType::QDateTime: return SerialDe(v.toDateTime());
        default: return TextoParaReal(AsString());
    }
}

bool TCampoConsulta::AsBoolean() const {
    const QVariant& v = Value();
    if (!v.isValid() || v.isNull()) return false;
    switch (v.typeId()) {
        case QMetaType::Bool: return v.toBool();
        case QMetaType::Int:
        case QMetaType::LongLong: return v.toLongLong() != 0;
        case QMetaType::Double: return v.toDouble() != 0.0;
        case QMetaType::QString:
        case QMetaType::QByteArray: {
            const QString t = AsString().trimmed();
            if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
            if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return false;
            bool ok = false;
            const qint64 n = t.toLongLong(&ok);
            if (!ok) ErroConversao(AsString(), "lógico");
            return n != 0;
        }
        default: ErroConversao(AsString(), "lógico");
    }
}

QDateTime TCampoConsulta::AsDateTime() const {
    const QVariant& v = Value();
    if (!v.isValid() || v.isNull()) return QDateTime(kDataZero, QTime(0, 0));
    switch (v.typeId()) {
        case QMetaType::QDateTime: return v.toDateTime();
        case QMetaType::QDate: return QDateTime(v.toDate(), QTime(0, 0));
        case QMetaType::QTime: return QDateTime(kDataZero, v.toTime());
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::Double: return DeSerial(v.toDouble());
        default: {
            const QString t = AsString().trimmed();
            const QLocale l;
            QDateTime dt = l.toDateTime(t, l.dateFormat(QLocale::ShortFormat) + QStringLiteral(" HH:mm:ss"));
            if (!dt.isValid()) {
                const QDate d = l.toDate(t, QLocale::ShortFormat);
                if (d.isValid()) dt = QDateTime(d, QTime(0, 0));
            }
            if (!dt.isValid()) dt = QDateTime::fromString(t, Qt::ISODate);
            if (!dt.isValid()) ErroConversao(AsString(), "de data e hora");
            return dt;
        }
    }
}

QDate TCampoConsulta::AsDate() const { return AsDateTime().date(); }

QByteArray TCampoConsulta::AsBytes() const {
    const QVariant& v = Value();
    if (!v.isValid() || v.isNull()) return QByteArray();
    if (v.typeId() == QMetaType::QByteArray) return v.toByteArray();
    return ParaCp1252(AsString());
}

// ---- TQuery ----------------------------------------------------------------

void TQuery::Close() {
    m_ativa = false;
    m_eof = m_bof = true;
    m_atual = 0;
    m_campos.clear();
    m_porNome.clear();
    m_linhas.clear();
}

void TQuery::DefinirCampos(const std::vector<std::pair<QString, std::pair<TFieldType, int>>>& campos) {
    m_campos.clear();
    m_porNome.clear();
    for (const auto& [nome, tipo] : campos) {
        const int i = static_cast<int>(m_campos.size());
        m_campos.emplace_back(new TCampoConsulta(this, i, nome, tipo.first, tipo.second));
    }
    // The first column of a name wins, as a dataset's FieldByName finds it.
    for (int i = static_cast<int>(m_campos.size()) - 1; i >= 0; --i)
        m_porNome[m_campos[static_cast<size_t>(i)]->FieldName().toUpper()] = i;
}

void TQuery::Abrir() {
    m_ativa = true;
    First();
}

void TQuery::First() {
    m_atual = 0;
    m_bof = true;
    m_eof = m_linhas.empty();
}

void TQuery::Next() {
    if (m_linhas.empty()) {
        m_eof = true;
        return;
    }
    if (m_atual + 1 < RecordCount()) {
        ++m_atual;
        m_bof = false;
        m_eof = false;
    } else {
        m_eof = true;
    }
}

void TQuery::Prior() {
    if (m_atual > 0) {
        --m_atual;
        m_eof = false;
        m_bof = false;
    } else {
        m_bof = true;
    }
}

void TQuery::Last() {
    if (m_linhas.empty()) {
        m_eof = m_bof = true;
        return;
    }
    m_atual = RecordCount() - 1;
    m_eof = true;
    m_bof = false;
}

const TCampoConsulta* TQuery::FindField(const QString& nome) const {
    const auto it = m_porNome.constFind(nome.trimmed().toUpper());
    return it == m_porNome.constEnd() ? nullptr : m_campos[static_cast<size_t>(*it)].get();
}

const TCampoConsulta& TQuery::Fields(int i) const {
    if (i < 0 || i >= FieldCount())
        throw EDatabaseError(QStringLiteral("Coluna %1 inexistente: a consulta tem %2.").arg(i).arg(FieldCount()));
    return *m_campos[static_cast<size_t>(i)];
}

const TCampoConsulta& TQuery::FieldByName(const QString& nome) const {
    if (const TCampoConsulta* f = FindField(nome)) return *f;
    throw EDatabaseError(QStringLiteral("Campo '%1' não encontrado.").arg(nome));
}

const QVariant& TQuery::Valor(int coluna) const {
    static const QVariant nulo;
    if (m_linhas.empty() || !m_ativa) return nulo;
    return m_linhas[static_cast<size_t>(m_atual)][static_cast<size_t>(coluna)];
}

}  // namespace vesko

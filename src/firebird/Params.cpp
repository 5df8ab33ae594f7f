#include "firebird/Params.h"

#include "base/Excecoes.h"

namespace vesko {

void TParam::SetAsString(const QString& v) { Definir(TFieldType::ftString, v); }
void TParam::SetAsSmallInt(int v) { Definir(TFieldType::ftSmallint, v); }
void TParam::SetAsInteger(int v) { Definir(TFieldType::ftInteger, v); }
void TParam::SetAsLargeInt(qint64 v) { Definir(TFieldType::ftLargeint, v); }
void TParam::SetAsBoolean(bool v) { Definir(TFieldType::ftBoolean, v); }
void TParam::SetAsFloat(double v) { Definir(TFieldType::ftFloat, v); }
void TParam::SetAsCurrency(double v) { Definir(TFieldType::ftCurrency, v); }
void TParam::SetAsDate(const QDate& v) { Definir(TFieldType::ftDate, v); }
void TParam::SetAsTime(const QTime& v) { Definir(TFieldType::ftTime, v); }
void TParam::SetAsDateTime(const QDateTime& v) { Definir(TFieldType::ftDateTime, v); }
void TParam::SetAsMemo(const QString& v) { Definir(TFieldType::ftMemo, v); }
void TParam::SetAsMemo(const QByteArray& v) { Definir(TFieldType::ftMemo, v); }
void TParam::SetAsBlob(const QByteArray& v) { Definir(TFieldType::ftBlob, v); }

const QVariant& TParam::Nulo() {
    static const QVariant nulo;
    return nulo;
}

QString TParam::AsString() const {
    if (IsNull()) return QString();
    if (m_valor.typeId() == QMetaType::QByteArray) return QString::fromLatin1(m_valor.toByteArray());
    return m_valor.toString();
}

TParam& TParams::CreateParam(TFieldType tipo, const QString& nome) {
    if (m_usados < m_params.size()) {
        TParam& p = m_params[m_usados++];
        p.Reiniciar(tipo, nome);
        return p;
    }
    m_params.emplace_back(tipo, nome);
    ++m_usados;
    return m_params.back();
}

TParam* TParams::FindParam(const QString& nome) {
    for (size_t i = m_usados; i-- > 0;)
        if (m_params[i].Name().compare(nome, Qt::CaseInsensitive) == 0) return &m_params[i];
    return nullptr;
}

const TParam* TParams::FindParam(const QString& nome) const {
    return const_cast<TParams*>(this)->FindParam(nome);
}

TParam& TParams::ParamByName(const QString& nome) {
    if (TParam* p = FindParam(nome)) return *p;
    throw EDatabaseError(QStringLiteral("Parâmetro '%1' não encontrado.").arg(nome));
}

}  // namespace vesko

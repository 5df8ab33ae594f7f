#include "firebird/Params.h"

#include "base/Excecoes.h"

namespace vesko {

void TParam::SetAsString(const QString& v) { m_tipo = TFieldType::ftString; m_valor = v; }
void TParam::SetAsSmallInt(int v) { m_tipo = TFieldType::ftSmallint; m_valor = v; }
void TParam::SetAsInteger(int v) { m_tipo = TFieldType::ftInteger; m_valor = v; }
void TParam::SetAsLargeInt(qint64 v) { m_tipo = TFieldType::ftLargeint; m_valor = v; }
void TParam::SetAsBoolean(bool v) { m_tipo = TFieldType::ftBoolean; m_valor = v; }
void TParam::SetAsFloat(double v) { m_tipo = TFieldType::ftFloat; m_valor = v; }
void TParam::SetAsCurrency(double v) { m_tipo = TFieldType::ftCurrency; m_valor = v; }
void TParam::SetAsDate(const QDate& v) { m_tipo = TFieldType::ftDate; m_valor = v; }
void TParam::SetAsTime(const QTime& v) { m_tipo = TFieldType::ftTime; m_valor = v; }
void TParam::SetAsDateTime(const QDateTime& v) { m_tipo = TFieldType::ftDateTime; m_valor = v; }
void TParam::SetAsMemo(const QString& v) { m_tipo = TFieldType::ftMemo; m_valor = v; }
void TParam::SetAsMemo(const QByteArray& v) { m_tipo = TFieldType::ftMemo; m_valor = v; }
void TParam::SetAsBlob(const QByteArray& v) { m_tipo = TFieldType::ftBlob; m_valor = v; }

QString TParam::AsString() const {
    if (IsNull()) return QString();
    if (m_valor.typeId() == QMetaType::QByteArray) return QString::fromLatin1(m_valor.toByteArray());
    return m_valor.toString();
}

TParam& TParams::CreateParam(TFieldType tipo, const QString& nome) {
    m_params.emplace_back(tipo, nome);
    return m_params.back();
}

TParam* TParams::FindParam(const QString& nome) {
    for (auto it = m_params.rbegin(); it != m_params.rend(); ++it)
        if (it->Name().compare(nome, Qt::CaseInsensitive) == 0) return &*it;
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

#include "datapacket/TiposCampo.h"

#include "datapacket/FormatoPacote.h"

namespace vesko {

using namespace pacote;

QString NomeTipoCampo(TFieldType tipo) {
    static const char* const nomes[] = {
        "ftUnknown", "ftString", "ftFixedChar", "ftGuid", "ftWideString", "ftFixedWideChar",
        "ftShortint", "ftSmallint", "ftInteger", "ftLargeint", "ftByte", "ftWord", "ftLongWord",
        "ftLargeUInt", "ftAutoInc", "ftBoolean", "ftFloat", "ftCurrency", "ftSingle", "ftExtended",
        "ftBCD", "ftFMTBcd", "ftDate", "ftTime", "ftDateTime", "ftTimeStamp", "ftTimeStampOffset",
        "ftBytes", "ftVarBytes", "ftMemo", "ftWideMemo", "ftFmtMemo", "ftBlob", "ftGraphic",
        "ftTypedBinary", "ftDataSet"};
    const auto i = static_cast<std::size_t>(tipo);
    return i < std::size(nomes) ? QString::fromLatin1(nomes[i]) : QStringLiteral("ftUnknown");
}

bool EhTexto8(TFieldType t) { return t == ftString || t == ftFixedChar || t == ftGuid; }
bool EhTextoLargo(TFieldType t) { return t == ftWideString || t == ftFixedWideChar; }
bool EhMemo(TFieldType t) { return t == ftMemo || t == ftWideMemo || t == ftFmtMemo; }
bool EhBlob(TFieldType t) {
    return EhMemo(t) || t == ftBlob || t == ftGraphic || t == ftTypedBinary;
}
bool EhInteiro(TFieldType t) {
    switch (t) {
    case ftShortint: case ftSmallint: case ftInteger: case ftLargeint: case ftByte: case ftWord:
    case ftLongWord: case ftLargeUInt: case ftAutoInc:
        return true;
    default:
        return false;
    }
}
bool EhFlutuante(TFieldType t) { return t == ftFloat || t == ftCurrency || t == ftSingle || t == ftExtended; }
bool EhDecimal(TFieldType t) { return t == ftBCD || t == ftFMTBcd; }

TFieldDef::TFieldDef(QString nome, TFieldType tipo, int tamanho, bool obrigatorio)
    : m_nome(std::move(nome)), m_tipo(tipo), m_tamanho(tamanho), m_obrigatorio(obrigatorio) {
    if (tipo == ftGuid && tamanho == 0) m_tamanho = 38;
}

TFieldDef& TFieldDef::SetRequired(bool r) {
    m_obrigatorio = r;
    if (m_atributosDefinidos) m_atributos = r ? (m_atributos | faRequired) : (m_atributos & ~faRequired);
    return *this;
}

std::uint16_t TFieldDef::Attributes() const {
    if (m_atributosDefinidos) return m_atributos;
    std::uint16_t a = m_obrigatorio ? faRequired : 0;
    if (m_tipo == ftAutoInc) a |= faReadonly;
    if (m_tipo == ftFixedChar || m_tipo == ftFixedWideChar) a |= faFixed;
    return a;
}

QString TFieldDef::SubType() const {
    if (m_subtipoDefinido) return m_subtipo;
    switch (m_tipo) {
    case ftCurrency: return QStringLiteral("Money");
    case ftAutoInc: return QStringLiteral("Autoinc");
    case ftFixedChar: case ftFixedWideChar: return QStringLiteral("FixedChar");
    case ftGuid: return QStringLiteral("Guid");
    case ftMemo: return QStringLiteral("Text");
    case ftWideMemo: return QStringLiteral("WideText");
    case ftFmtMemo: return QStringLiteral("Formatted");
    case ftBlob: return QStringLiteral("Binary");
    case ftGraphic: return QStringLiteral("Graphics");
    case ftTypedBinary: return QStringLiteral("TypedBinary");
    case ftTimeStamp: return QStringLiteral("Formatted");  // what the host has always written
    default: return {};
    }
}

namespace {

int Descendentes(const TFieldDefs* filhos) {
    if (!filhos) return 0;
    int n = 0;
    for (const TFieldDef& d : *filhos) n += 1 + (d.DataType() == ftDataSet ? Descendentes(d.Filhos()) : 0);
    return n;
}

}  // namespace

std::uint32_t TFieldDef::PalavraTipo() const {
    if (m_palavraTipo) return m_palavraTipo;
    const int n = m_tamanho;
    switch (m_tipo) {
    case ftUnknown: return Palavra(cDesconhecido, 4, kVariavel);
    case ftString: case ftFixedChar: case ftGuid:
        return Palavra(cTexto, n + 1 < 255 ? 1 : 2, kVariavel);
    case ftWideString: case ftFixedWideChar:
        return Palavra(cTextoUnicode, 2 * n + 2 < 255 ? 1 : 2, kVariavel);
    case ftShortint: return Palavra(cInteiro, 1);
    case ftSmallint: return Palavra(cInteiro, 2);
    case ftInteger: case ftAutoInc: return Palavra(cInteiro, 4);
    case ftLargeint: return Palavra(cInteiro, 8);
    case ftByte: return Palavra(cSemSinal, 1);
    case ftWord: return Palavra(cSemSinal, 2);
    case ftLongWord: return Palavra(cSemSinal, 4);
    case ftLargeUInt: return Palavra(cSemSinal, 8);
    case ftBoolean: return Palavra(cBooleano, 2);
    case ftFloat: case ftCurrency: return Palavra(cFlutuante, 8);
    case ftExtended: return Palavra(cFlutuante, 10);
    case ftSingle: return Palavra(cSingle, 4);
    case ftBCD: case ftFMTBcd: {
        const int p = m_precisao > 0 ? m_precisao : 32;
        return Palavra(m_tipo == ftBCD ? cBcd : cFmtBcd, 2 + (p + 1) / 2);
    }
    case ftDate: return Palavra(cData, 4);
    case ftTime: return Palavra(cHora, 4);
    case ftDateTime: return Palavra(cDataHora, 8);
    case ftTimeStamp: return Palavra(cSqlTimestamp, 16);
    case ftTimeStampOffset: return Palavra(cSqlTimestampOffset, 20);
    case ftBytes: return Palavra(cBytes, n);
    case ftVarBytes: return Palavra(cBytes, n + 1 < 255 ? 1 : 2, kVariavel);
    case ftMemo: case ftWideMemo: case ftFmtMemo: case ftBlob: case ftGraphic: case ftTypedBinary:
        return Palavra(cBytes, 4, kVariavel);
    case ftDataSet: return Palavra(cTabela, Descendentes(m_filhos.get()), kPseudo | kEmbutido);
    }
    return Palavra(cDesconhecido, 4, kVariavel);
}

TFieldDef& TFieldDefs::Add(const QString& nome, TFieldType tipo, int tamanho, bool obrigatorio) {
    m_defs.emplace_back(nome, tipo, tamanho, obrigatorio);
    return m_defs.back();
}

int TFieldDefs::IndexOf(QStringView nome) const {
    for (std::size_t i = 0; i < m_defs.size(); ++i)
        if (QStringView(m_defs[i].Name()).compare(nome, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
    return -1;
}

}  // namespace vesko

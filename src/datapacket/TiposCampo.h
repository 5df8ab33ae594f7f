#pragma once
// Field definitions of a data packet: the kind of each field, its declared
// size and the packet attributes that travel with it.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <memory>
#include <vector>

namespace vesko {

enum TFieldType : std::uint8_t {
    ftUnknown,        // raw bytes of a type this program does not interpret
    ftString,         // 8-bit string, Size = declared width in characters
    ftFixedChar,      // 8-bit string kept at its width by the writer of the file
    ftGuid,           // "{...}" text in an 8-bit string of width 38
    ftWideString,     // UTF-16 string, Size = width in characters
    ftFixedWideChar,
    ftShortint,       // int8
    ftSmallint,       // int16
    ftInteger,        // int32
    ftLargeint,       // int64
    ftByte,           // uint8
    ftWord,           // uint16
    ftLongWord,       // uint32
    ftLargeUInt,      // uint64
    ftAutoInc,        // int32 numbered by the dataset
    ftBoolean,
    ftFloat,          // double
    ftCurrency,       // double marked as money
    ftSingle,         // 4-byte float (read only)
    ftExtended,       // 80-bit float (read only)
    ftBCD,            // packed decimal, Precision/Scale (read only)
    ftFMTBcd,         // packed decimal, Precision/Scale (read only)
    ftDate,
    ftTime,
    ftDateTime,
    ftTimeStamp,      // SQL timestamp structure (read only)
    ftTimeStampOffset,// SQL timestamp with time-zone offset (read only)
    ftBytes,          // fixed number of raw bytes, Size = byte count
    ftVarBytes,       // up to Size raw bytes
    ftMemo,           // 8-bit text of any length
    ftWideMemo,       // UTF-16 text of any length
    ftFmtMemo,        // formatted 8-bit text (RTF and the like)
    ftBlob,
    ftGraphic,        // picture, stored with the 8-byte header its writer put in front
    ftTypedBinary,
    ftDataSet,        // nested table (read only; its rows are not exposed)
};

// Readable name of a field type ("ftInteger", ...), for messages and dumps.
QString NomeTipoCampo(TFieldType tipo);

bool EhTexto8(TFieldType t);        // 8-bit strings (string, fixed char, GUID)
bool EhTextoLargo(TFieldType t);    // UTF-16 strings
bool EhMemo(TFieldType t);          // text BLOBs: memo, wide memo, formatted memo
bool EhBlob(TFieldType t);          // any BLOB, memos included
bool EhInteiro(TFieldType t);       // every integer kind, auto-increment included
bool EhFlutuante(TFieldType t);     // float, currency, single, extended
bool EhDecimal(TFieldType t);       // BCD and FMTBcd

// Field attribute bits, as stored in the packet.
enum : std::uint16_t {
    faHidden = 0x0001,
    faReadonly = 0x0002,
    faRequired = 0x0004,
    faLink = 0x0008,
    faUnnamed = 0x0010,
    faFixed = 0x0020,
};

// A packet parameter as stored: name, type word and the value bytes exactly as
// they follow the type word (array count or length prefix included).
struct TParametroPacote {
    QByteArray Nome;
    std::uint32_t Tipo = 0;
    QByteArray Valor;
};

class TFieldDefs;

class TFieldDef {
public:
    TFieldDef() = default;
    TFieldDef(QString nome, TFieldType tipo, int tamanho = 0, bool obrigatorio = false);

    const QString& Name() const { return m_nome; }
    TFieldType DataType() const { return m_tipo; }
    int Size() const { return m_tamanho; }             // characters, bytes or 0
    int Precision() const { return m_precisao; }       // BCD digits
    int Scale() const { return m_escala; }             // BCD decimals
    bool Required() const { return (Attributes() & faRequired) != 0; }
    std::uint16_t Attributes() const;
    QString SubType() const;                           // SUBTYPE written for the field, or empty

    TFieldDef& SetName(const QString& nome) { m_nome = nome; return *this; }
    TFieldDef& SetSize(int tamanho) { m_tamanho = tamanho; return *this; }
    TFieldDef& SetPrecision(int p) { m_precisao = p; return *this; }
    TFieldDef& SetScale(int s) { m_escala = s; return *this; }
    TFieldDef& SetRequired(bool r);
    TFieldDef& SetAttributes(std::uint16_t a) { m_atributos = a; m_atributosDefinidos = true; return *this; }
    TFieldDef& SetSubType(const QString& s) { m_subtipo = s; m_subtipoDefinido = true; return *this; }

    // The packet's type word: as read from a file, or derived from type and size.
    std::uint32_t PalavraTipo() const;
    void DefinirPalavraTipo(std::uint32_t palavra) { m_palavraTipo = palavra; }

    // Field parameters this program does not interpret, kept in file order and
    // written back after SUBTYPE, DECIMALS and WIDTH.
    QList<TParametroPacote>& ParametrosExtras() { return m_extras; }
    const QList<TParametroPacote>& ParametrosExtras() const { return m_extras; }

    // Fields of a nested table (ftDataSet), for information only.
    const TFieldDefs* Filhos() const { return m_filhos.get(); }
    void DefinirFilhos(std::shared_ptr<const TFieldDefs> filhos) { m_filhos = std::move(filhos); }

private:
    QString m_nome;
    TFieldType m_tipo = ftUnknown;
    int m_tamanho = 0;
    int m_precisao = 0;
    int m_escala = 0;
    std::uint16_t m_atributos = 0;
    bool m_atributosDefinidos = false;
    bool m_obrigatorio = false;
    QString m_subtipo;
    bool m_subtipoDefinido = false;
    std::uint32_t m_palavraTipo = 0;
    QList<TParametroPacote> m_extras;
    std::shared_ptr<const TFieldDefs> m_filhos;
};

class TFieldDefs {
public:
    TFieldDef& Add(const QString& nome, TFieldType tipo, int tamanho = 0, bool obrigatorio = false);
    void Add(TFieldDef def) { m_defs.push_back(std::move(def)); }
    void Clear() { m_defs.clear(); }
    int Count() const { return static_cast<int>(m_defs.size()); }
    TFieldDef& operator[](int i) { return m_defs[static_cast<std::size_t>(i)]; }
    const TFieldDef& operator[](int i) const { return m_defs[static_cast<std::size_t>(i)]; }
    int IndexOf(QStringView nome) const;  // -1 when absent; case-insensitive

    auto begin() const { return m_defs.begin(); }
    auto end() const { return m_defs.end(); }

private:
    std::vector<TFieldDef> m_defs;
};

}  // namespace vesko

#pragma once
// TClientDataSet: an in-memory table that loads and saves data-packet files
// (binary, and the plain and UTF-8 XML forms for reading), with a cursor over
// its rows, typed access to each field and an in-memory index for lookups.
//
// Creating and saving:
//
//     TClientDataSet ds;
//     ds.FieldDefs().Add("IdAuditoria", ftAutoInc);
//     ds.FieldDefs().Add("DescricaoCurta", ftString, 50);
//     ds.FieldDefs().Add("DataOcorrencia", ftDate);
//     ds.CreateDataSet();
//     ds.Append();
//     ds.FieldByName("IdAuditoria").SetAsInteger(1);
//     ds.FieldByName("DescricaoCurta").SetAsString(texto);   // cut to 50 characters
//     ds.FieldByName("DataOcorrencia").SetAsDate(QDate::currentDate());
//     ds.Post();
//     ds.SaveToFile(caminho);                                 // binary packet
//
// Loading and reading (field names match without regard to case):
//
//     TClientDataSet ds;
//     ds.LoadFromFile(caminho);                               // EDBClient / EFOpenError on failure
//     for (ds.First(); !ds.Eof(); ds.Next())
//         lista << ds.FieldByName("descricaocurta").AsString();
//     if (ds.Locate("IdDetalhe;TpCodigo", QVariantList{id, "EAN13"})) ...
//     ds.AddIndex("idxIdDetalhe", "IdDetalhe", ixPrimary);
//     ds.SetIndexName("idxIdDetalhe");                        // rows now in key order
//     if (ds.FindKey({id})) bytes = ds.FieldByName("Imagem").AsBytes();
//
// Conversions follow the classic dataset field: a null reads as "", 0, false
// or the zero date (1899-12-30); numbers read as text use the default QLocale
// (no group separator); text reads as a number when it parses as one; a value
// that does not convert raises EConvertError. Date-times carry no time zone:
// AsDateTime returns them with Qt::UTC so that no daylight-saving rule moves
// them; use date() and time(). Dataset and packet errors raise EDBClient.
//
// TField references stay valid until the fields are rebuilt (CreateDataSet,
// LoadFromFile, Close). The dataset is not copyable; move it if needed.
#include "datapacket/DadosPacote.h"
#include "datapacket/FormatoPacote.h"
#include "datapacket/ParametrosPacote.h"
#include "datapacket/TiposCampo.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QIODevice>
#include <QString>
#include <QTime>
#include <QVariant>
#include <QVariantList>
#include <memory>
#include <optional>
#include <vector>

namespace vesko {

class TClientDataSet;
namespace detalhe {
struct TChave;
struct TIndice;
}  // namespace detalhe

class TField {
public:
    const QString& FieldName() const;
    TFieldType DataType() const;
    int Size() const;
    int Index() const { return m_indice; }
    const TFieldDef& Def() const;
    bool Required() const;
    bool IsBlob() const;  // memo, wide memo, formatted memo, blob, graphic, typed binary

    bool IsNull() const;
    QString AsString() const;
    qint32 AsInteger() const;
    qint64 AsLargeInt() const;
    double AsFloat() const;
    QDateTime AsDateTime() const;
    QDate AsDate() const;
    QTime AsTime() const;
    bool AsBoolean() const;
    QVariant AsVariant() const;   // null: an invalid QVariant
    QByteArray AsBytes() const;   // BLOB bytes as stored; text as stored; empty for null
    void SaveToStream(QIODevice& destino) const;

    // Only while the dataset is in Append / Edit.
    void SetAsString(const QString& valor);
    void SetAsInteger(qint64 valor);
    void SetAsLargeInt(qint64 valor) { SetAsInteger(valor); }
    void SetAsFloat(double valor);
    void SetAsDateTime(const QDateTime& valor);
    void SetAsDate(const QDate& valor);
    void SetAsTime(const QTime& valor);
    void SetAsBoolean(bool valor);
    void SetAsVariant(const QVariant& valor);  // an invalid or null QVariant clears
    void SetAsBytes(const QByteArray& valor);
    void Clear();

private:
    friend class TClientDataSet;
    TField(TClientDataSet* ds, int indice) : m_ds(ds), m_indice(indice) {}
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;

    TClientDataSet* m_ds;
    int m_indice;
};

enum TDataSetState { dsInactive, dsBrowse, dsInsert, dsEdit };

enum TLocateOption { loCaseInsensitive = 0x1, loPartialKey = 0x2 };
using TLocateOptions = int;

enum TIndexOption { ixPrimary = 0x1, ixDescending = 0x2, ixCaseInsensitive = 0x4 };
using TIndexOptions = int;

class TClientDataSet {
public:
    TClientDataSet();
    ~TClientDataSet();
    TClientDataSet(TClientDataSet&&) noexcept;
    TClientDataSet& operator=(TClientDataSet&&) noexcept;
    TClientDataSet(const TClientDataSet&) = delete;
    TClientDataSet& operator=(const TClientDataSet&) = delete;

    // Structure.
    TFieldDefs& FieldDefs() { return m_dados.campos; }
    const TFieldDefs& FieldDefs() const { return m_dados.campos; }
    void CreateDataSet();        // an empty, open dataset with the defined fields
    void Close();                // drops rows and fields; FieldDefs stay
    void EmptyDataSet();         // drops the rows, keeps the fields
    bool Active() const { return m_estado != dsInactive; }
    TDataSetState State() const { return m_estado; }

    // Dataset parameters written into the packet (LCID, DEFAULT_ORDER, ...).
    TPacketParams& Params() { return m_dados.parametros; }
    const TPacketParams& Params() const { return m_dados.parametros; }

    // Files. Loading detects the binary and XML forms from the first bytes; a
    // failed load leaves the dataset as it was. Saving writes the binary form
    // through a temporary "<file>.~vesko-XXXXXX" renamed over the file
    // (platform/GravacaoAtomica.h), so a failed save leaves the old file
    // intact and no temporary; it raises EFCreateError or EWriteError.
    void LoadFromFile(const QString& caminho);
    void LoadFromBytes(QByteArray bytes);
    void SaveToFile(const QString& caminho);
    QByteArray SaveToBytes();
    void SaveToStream(QIODevice& destino);

    // Fields.
    int FieldCount() const { return static_cast<int>(m_campos.size()); }
    TField& Fields(int i);
    TField& FieldByName(const QString& nome);   // EDBClient when absent
    TField* FindField(const QString& nome);     // nullptr when absent

    // Cursor.
    qint64 RecordCount() const;
    qint64 RecNo() const;                    // 1-based; 0 when empty
    void First();
    void Next();
    void Prior();
    void Last();
    bool Eof() const { return m_eof; }
    bool Bof() const { return m_bof; }
    bool IsEmpty() const { return RecordCount() == 0; }

    // Editing.
    void Append();                           // new row after Post at the end (or at its key in the active index)
    void Edit();
    void Post();
    void Cancel();
    void Delete();

    // Search. `campos` lists field names separated by ';'; `valores` holds one
    // value per field (a QVariantList, or a single value for one field).
    bool Locate(const QString& campos, const QVariant& valores, TLocateOptions opcoes = 0);

    // In-memory indexes: AddIndex defines one, SetIndexName makes it the
    // cursor's order ("" returns to the natural order), FindKey moves to the
    // first row of the active index whose key fields equal the values given
    // (a prefix of the key fields may be given).
    void AddIndex(const QString& nome, const QString& campos, TIndexOptions opcoes = 0);
    void SetIndexName(const QString& nome);
    const QString& IndexName() const { return m_nomeIndiceAtivo; }
    void SetIndexFieldNames(const QString& campos);  // a nameless index on those fields
    bool FindKey(const QVariantList& valores);

private:
    friend class TField;
    using TIndice = detalhe::TIndice;
    using TChave = detalhe::TChave;

    void Montar(TDadosPacote dados);
    void ExigirAtivo() const;
    void ExigirNavegacao(const char* operacao) const;
    void ExigirEdicao(int campo) const;
    const std::vector<std::int64_t>& Visao() const;
    std::vector<std::int64_t>& Visao();
    std::int64_t LinhaAtual() const;                 // offset of the current row, -1 when none
    pacote::TValor Valor(int campo) const;           // current value (edit buffer in Append/Edit)
    pacote::TValor ValorNaLinha(std::int64_t linha, int campo) const;
    void Gravar(int campo, std::optional<QByteArray> valor);
    std::vector<int> CamposDe(const QString& lista) const;
    TChave ChaveDaLinha(std::int64_t linha, int campo, bool semCaixa) const;
    TChave ChaveDoValor(int campo, const QVariant& v, bool semCaixa) const;
    void ReligarCampos();
    void PostarSeEditando();
    int Comparar(const TIndice& ix, std::int64_t a, std::int64_t b) const;
    void Ordenar(TIndice& ix);
    std::vector<std::int64_t> OrdemParaGravar();
    void PrepararParametrosDeGravacao();
    bool TextoUtf8() const { return m_dados.texto8Utf8; }

    TDadosPacote m_dados;  // fields, parameters, row storage and natural order
    pacote::TLayout m_layout;
    std::vector<std::unique_ptr<TField>> m_campos;
    QHash<QString, int> m_porNome;  // case-folded name -> field
    TDataSetState m_estado = dsInactive;
    qint64 m_pos = 0;
    bool m_eof = true, m_bof = true;
    std::vector<std::optional<QByteArray>> m_buffer;  // the row being appended or edited
    std::int64_t m_linhaEditada = -1;
    std::vector<std::unique_ptr<TIndice>> m_indices;
    TIndice* m_indiceAtivo = nullptr;
    QString m_nomeIndiceAtivo;
    bool m_autoIncLocal = false;
    qint64 m_proximoAutoInc = 1;
    mutable std::int64_t m_cacheLinha = -1;
    mutable const char* m_cacheBase = nullptr;
    mutable std::vector<pacote::TValor> m_cacheValores;
};

}  // namespace vesko

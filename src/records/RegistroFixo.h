#pragma once
// Fixed-size binary records of the export files (sale header, sale item,
// customer): a byte buffer of the record's exact size with typed access at
// named offsets. Little-endian numbers; short strings are one length byte
// followed by at most n characters in Windows-1252 (longer text is cut, a
// character the code page lacks becomes "?"); Boolean bytes are 0 or 1.
//
// Each record class names its fields as constants of the kinds below
// (TCampoTexto{offset, n}, TCampoInteiro{offset}, ...) and lists them in
// Campos(), which the layout document and the tests follow.
#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <QTime>
#include <vector>

namespace vesko {

struct TCampoByte { int Offset; };
struct TCampoBooleano { int Offset; };
struct TCampoInteiro { int Offset; };    // 32-bit signed integer
struct TCampoReal { int Offset; };       // 32-bit IEEE float
struct TCampoMoeda { int Offset; };      // 64-bit signed integer: value x 10000
struct TCampoTexto { int Offset; int Largura; };       // short string of Largura (Largura + 1 bytes, Largura <= 255)
struct TCampoTextoLongo { int Offset; int Largura; };  // 16-bit length + Largura bytes

enum class TTipoCampoRegistro { Byte, Booleano, Inteiro, Real, Moeda, Texto, TextoLongo, Constante };

// One field of a record's layout, for documentation and checks.
struct TDescricaoCampo {
    const char* Nome;
    int Offset;
    TTipoCampoRegistro Tipo;
    int Largura;   // characters of a text field; 0 for the others
    int Bytes;     // bytes the field occupies
};

class TRegistroFixo {
public:
    int Tamanho() const { return static_cast<int>(m_bytes.size()); }
    const QByteArray& Bytes() const { return m_bytes; }
    quint8 ByteEm(int offset) const;  // any byte, for readers and tests

    quint8 Valor(TCampoByte c) const;
    void Definir(TCampoByte c, quint8 v);
    bool Valor(TCampoBooleano c) const;  // any non-zero byte reads as true
    void Definir(TCampoBooleano c, bool v);
    qint32 Valor(TCampoInteiro c) const;
    void Definir(TCampoInteiro c, qint32 v);
    float Valor(TCampoReal c) const;
    void Definir(TCampoReal c, float v);
    double Valor(TCampoMoeda c) const;
    void Definir(TCampoMoeda c, double v);  // rounded to 4 decimals
    qint64 ValorBruto(TCampoMoeda c) const;
    // Text of a short string. Raises EReadError when the length byte exceeds
    // the field's width (a corrupt record).
    QString Valor(TCampoTexto c) const;
    // Cut to the width; the bytes after the text are zeroed.
    void Definir(TCampoTexto c, const QString& v);
    QString Valor(TCampoTextoLongo c) const;
    void Definir(TCampoTextoLongo c, const QString& v);

protected:
    explicit TRegistroFixo(int tamanho);
    // Replaces the whole content; raises EReadError unless `bytes` has the
    // record's exact size.
    void CarregarBytes(QByteArrayView bytes, const char* nomeRegistro);
    void Zerar();
    // Checks every text field of `campos` (length byte within width);
    // raises EReadError naming the field otherwise.
    void ValidarTextos(const std::vector<TDescricaoCampo>& campos, const char* nomeRegistro) const;

private:
    void Conferir(int offset, int bytes) const;
    QByteArray m_bytes;
};

// Regional text forms used inside the records.
// Shortest decimal text of `v` with the regional decimal separator and no
// thousands separator: 12.5 -> "12,5" (Brazilian), 3 -> "3", 0.1 -> "0,1".
QString TextoNumeroRegional(double v);
// "DD/MM/YYYY" and "HH:NN:SS" with the regional date and time separators.
QString TextoDataRegional(const QDate& d);
QString TextoHoraRegional(const QTime& t);
// "DD/MM/YYYY HH:NN:SS" with the regional separators.
QString TextoDataHoraRegional(const QDateTime& dh);
// Reading them back, with the same patterns: an invalid QDate/QTime when the
// text does not parse.
QDate LerDataRegional(const QString& texto);
QTime LerHoraRegional(const QString& texto);
QChar SeparadorDataRegional();
QChar SeparadorHoraRegional();

}  // namespace vesko

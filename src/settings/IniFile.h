#pragma once
// A Windows INI file (private profile file), read and written the way the
// platform's profile functions do it: section and key names without regard
// to case, blanks around names and values ignored, a value in matching quotes
// read without them, ";" comment lines, the first of repeated keys wins.
// Writing changes only the line of the key (or adds it at the end of its
// section, or adds the section at the end of the file) and keeps every other
// line, comment, section and key as it was, with the file's own line ending
// and code page (UTF-8, with its byte-order mark when it had one, or
// Windows-1252, which a rewrite keeps telling apart from UTF-8).
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace vesko {

class TIniFile {
public:
    // Reads the file once; a missing or unreadable file reads as empty.
    explicit TIniFile(QString nomeArquivo);

    const QString& FileName() const { return m_nome; }

    QString ReadString(const QString& secao, const QString& chave, const QString& padrao) const;
    // Decimal, "$" hexadecimal or "0x" hexadecimal; anything else gives `padrao`.
    int ReadInteger(const QString& secao, const QString& chave, int padrao) const;
    // An integer read as above: non-zero is true.
    bool ReadBool(const QString& secao, const QString& chave, bool padrao) const;
    bool SectionExists(const QString& secao) const;
    bool ValueExists(const QString& secao, const QString& chave) const;

    // A value with outer blanks, or enclosed in quotes, is written in double
    // quotes so that it reads back as it was. Each write goes to disk at once
    // (through a temporary file renamed over the old one). Raises
    // EIniFileException when the file cannot be written.
    void WriteString(const QString& secao, const QString& chave, const QString& valor);
    void WriteInteger(const QString& secao, const QString& chave, int valor);

    // From here on the writes gather in memory until UpdateFile(), which puts
    // them on disk in one go: a failure then leaves the file as it was.
    void AdiarGravacao() { m_adiada = true; }
    void UpdateFile();

    // Integer text as the settings read it: decimal, "$" or "0x" hexadecimal.
    static std::optional<int> ConverterInteiro(const QString& texto);

private:
    std::optional<QString> Valor(const QString& secao, const QString& chave) const;
    void Salvar() const;
    void Escrito() const;  // after a change of the lines
    QByteArray Codificado(const QString& texto) const;

    QString m_nome;
    QStringList m_linhas;
    QString m_quebra;        // line ending of the file
    bool m_cp1252 = false;   // the file is not UTF-8
    bool m_bom = false;      // a UTF-8 file that starts with a byte-order mark
    bool m_adiada = false;   // writes wait for UpdateFile()
};

}  // namespace vesko

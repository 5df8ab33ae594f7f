#pragma once
// The store's JSON builder: a JSON object whose members keep the order in
// which they were added, written compact on one line (no blank outside the
// texts), as the identification file of a changed sale carries it.
//
// The text is meant to be written in Windows-1252, the code page of the
// export files: a character that code page cannot hold (and the control
// characters U+007F to U+009F) is written as a \uXXXX escape, so the text
// always converts to Windows-1252 without loss and still reads back as the
// same JSON. Quotes, backslashes and control characters below U+0020 are
// escaped as JSON requires.
#include <QByteArray>
#include <QString>
#include <initializer_list>
#include <memory>
#include <variant>

namespace vesko {

// One named member: an integer or a text.
struct TMembroJSON {
    TMembroJSON(QString nome, qint64 valor) : Nome(std::move(nome)), Valor(valor) {}
    TMembroJSON(QString nome, int valor) : Nome(std::move(nome)), Valor(qint64(valor)) {}
    TMembroJSON(QString nome, QString valor) : Nome(std::move(nome)), Valor(std::move(valor)) {}
    QString Nome;
    std::variant<qint64, QString> Valor;
};

class TDovrahelmJSON {
public:
    // An object holding `membros` in the order given (usually none).
    explicit TDovrahelmJSON(std::initializer_list<TMembroJSON> membros = {});
    ~TDovrahelmJSON();
    TDovrahelmJSON(const TDovrahelmJSON&) = delete;
    TDovrahelmJSON& operator=(const TDovrahelmJSON&) = delete;

    // Adds a member at the end. A name added again keeps its first place and
    // takes the new value.
    void AdicionarInteiro(const QString& Nome, qint64 Valor);
    void AdicionarTexto(const QString& Nome, const QString& Valor);

    // The object as compact JSON text, members in the order added.
    QString TextoJSON() const;
    // The same text as the Windows-1252 bytes written to a file.
    QByteArray TextoJSONCp1252() const;

private:
    struct TDados;
    std::unique_ptr<TDados> m_dados;
};

}  // namespace vesko

#pragma once
// The program's exception family. Every exception the program raises derives
// from vesko::Exception and carries a readable class name, which the audit
// trail records as the exception type of an error record.
#include <QString>
#include <exception>
#include <string>

namespace vesko {

class Exception : public std::exception {
public:
    explicit Exception(QString mensagem);
    ~Exception() override = default;

    // Readable class name ("EConvertError", "EDatabaseError", ...).
    virtual QString NomeClasse() const { return QStringLiteral("Exception"); }
    const QString& Mensagem() const noexcept { return m_mensagem; }
    const char* what() const noexcept override { return m_utf8.c_str(); }

private:
    QString m_mensagem;
    std::string m_utf8;
};

#define VESKO_DECLARAR_EXCECAO(Nome, Base)                                     \
    class Nome : public Base {                                                 \
    public:                                                                    \
        using Base::Base;                                                      \
        QString NomeClasse() const override { return QStringLiteral(#Nome); }  \
    };

VESKO_DECLARAR_EXCECAO(EConvertError, Exception)      // a value that does not convert
VESKO_DECLARAR_EXCECAO(EDatabaseError, Exception)     // database and dataset errors
VESKO_DECLARAR_EXCECAO(EDBClient, EDatabaseError)     // data packets and in-memory datasets
VESKO_DECLARAR_EXCECAO(EInOutError, Exception)        // file system errors
VESKO_DECLARAR_EXCECAO(EStreamError, Exception)
VESKO_DECLARAR_EXCECAO(EFOpenError, EStreamError)     // a file that cannot be opened
VESKO_DECLARAR_EXCECAO(EFCreateError, EStreamError)   // a file that cannot be created
VESKO_DECLARAR_EXCECAO(EReadError, EStreamError)
VESKO_DECLARAR_EXCECAO(EWriteError, EStreamError)
VESKO_DECLARAR_EXCECAO(EIniFileException, Exception)  // settings file cannot be written
VESKO_DECLARAR_EXCECAO(EOSError, Exception)           // operating-system call failed
VESKO_DECLARAR_EXCECAO(EArgumentException, Exception) // a wrong argument to an operation
VESKO_DECLARAR_EXCECAO(EOutOfMemory, Exception)

// Readable class name of any exception: ours give their own; standard ones
// map to the name of the matching program exception (std::bad_alloc gives
// "EOutOfMemory", std::out_of_range "ERangeError", ...).
QString NomeClasseExcecao(const std::exception& e);

// Message text of any exception, as the audit trail records it.
QString MensagemExcecao(const std::exception& e);

}  // namespace vesko

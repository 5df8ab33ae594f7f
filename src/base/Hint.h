#pragma once
// The hint of the runs: the import and the export write their progress texts
// here. The tray icon shows it as its tooltip, the command line prints each
// change to standard error, tests record the texts.
#include <QString>
#include <QStringList>

namespace vesko {

class IHint {
public:
    virtual ~IHint() = default;
    virtual void DefinirHint(const QString& texto) = 0;
    virtual QString Hint() const = 0;
};

// Keeps the current hint and every text it was given (tests, headless runs).
class THintMemoria : public IHint {
public:
    void DefinirHint(const QString& texto) override;
    QString Hint() const override { return m_atual; }
    const QStringList& Historico() const { return m_historico; }
private:
    QString m_atual;
    QStringList m_historico;
};

}  // namespace vesko

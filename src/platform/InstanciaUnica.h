#pragma once
// The machine-wide single-instance lock ("Global\Quorvel_IntegradorVesko").
// One lock for every user of the machine; the system releases it when the
// holding process dies, so a crashed instance never blocks the next start.
#include <QString>

namespace vesko {

// The name every instance of the program locks: "Global\Quorvel_IntegradorVesko".
// For tests only, the environment variable VESKO_TESTE_INSTANCIA replaces it,
// so a test run never meets a tray or a service left running on the machine.
QString NomeInstanciaUnica();

class TInstanciaUnica {
public:
    explicit TInstanciaUnica(const QString& nome = NomeInstanciaUnica());
    ~TInstanciaUnica();
    TInstanciaUnica(const TInstanciaUnica&) = delete;
    TInstanciaUnica& operator=(const TInstanciaUnica&) = delete;

    // Takes the lock; False when another process holds it.
    bool Adquirir();
    bool Adquirido() const { return m_handle != kNenhum; }
    void Liberar();

private:
    static constexpr long long kNenhum = -1;
    QString m_nome;
    long long m_handle = kNenhum;
};

}  // namespace vesko

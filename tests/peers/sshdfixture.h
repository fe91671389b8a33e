#pragma once

#include <QString>

// The sshd that tests/peers/sshd-fixture.sh started for this test run (CTest fixture "sshd").
struct SshdFixture
{
    QString host;
    quint16 port = 0;
    QString user;
    QString password;
    QString hostKeySha256;

    bool isValid() const { return port != 0 && !host.isEmpty() && !user.isEmpty() && !password.isEmpty(); }

    // Reads the file named by $MQ_SSHD_FIXTURE; invalid when it is unset, missing or incomplete (not root).
    static SshdFixture load();
};

// Kills, by pid and with SIGKILL, the sshd processes that serve this process's SSH connections to `sshdPort` on
// loopback: the relay dropping the session, without touching the sessions of other tests. Returns their number.
int killSshdSessions(quint16 sshdPort);

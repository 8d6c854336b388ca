#pragma once

#include <QString>

namespace vcm {

class Deployment;

/// Fills the session's secrets from the deployment file's recipes, in the order server
/// address, database user, FTP user, database password, database name, the two key
/// texts; then the server-list host, the manual host, the two service database names and
/// the ports. When the file is missing or unusable it says so and ends the process:
/// without it the program has no server to talk to, and it must not guess one.
void buildSecrets();

/// As buildSecrets, from an already loaded file.
void buildSecrets(const Deployment& deployment);

/// The connection string of Session's database account and server.
QString buildConnectionString();

} // namespace vcm

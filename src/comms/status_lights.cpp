#include "comms/status_lights.h"

namespace qv::comms {

void ServerStatusLights::set(Server server, const StatusLight& light) {
    StatusLight& current = m_lights[index(server)];
    if (current == light) return;
    current = light;
    emit changed(server);
}

void ServerStatusLights::setVisible(bool visible) {
    for (const Server server : {Server::Primary, Server::Secondary}) {
        StatusLight light = m_lights[index(server)];
        light.visible = visible;
        set(server, light);
    }
}

}  // namespace qv::comms

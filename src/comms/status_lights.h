#pragma once
// The two server status lights as a model: for each server a light colour,
// the status picture's tooltip and whether its warning label shows. The
// server link sets them; the main window only paints what it reads here.

#include <QObject>
#include <QString>

#include <array>
#include <cstdint>

namespace qv::comms {

enum class LightColour { Grey, Green, Red };

// 0xRRGGBB of each colour: green 0,255,0; grey 128,128,128; red 255,0,0.
constexpr std::uint32_t lightRgb(LightColour colour) {
    switch (colour) {
        case LightColour::Green:
            return 0x00FF00;
        case LightColour::Red:
            return 0xFF0000;
        case LightColour::Grey:
            break;
    }
    return 0x808080;
}

struct StatusLight {
    bool visible = false;  // shown while the server link is the chosen method
    LightColour colour = LightColour::Grey;
    QString tooltip;
    bool warningVisible = false;
    bool operator==(const StatusLight&) const = default;
};

class ServerStatusLights : public QObject {
    Q_OBJECT
public:
    enum class Server { Primary = 0, Secondary = 1 };
    Q_ENUM(Server)

    using QObject::QObject;

    const StatusLight& light(Server server) const { return m_lights[index(server)]; }
    // Emits changed only when something the window shows differs.
    void set(Server server, const StatusLight& light);
    void setVisible(bool visible);

signals:
    void changed(qv::comms::ServerStatusLights::Server server);

private:
    static std::size_t index(Server server) { return static_cast<std::size_t>(server); }

    std::array<StatusLight, 2> m_lights;
};

}  // namespace qv::comms

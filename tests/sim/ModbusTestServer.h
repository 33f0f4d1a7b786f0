#pragma once

// A Modbus device for tests and benchmarks: libmodbus's own server in a thread, on TCP at 127.0.0.1 (a free
// port) or as an RTU slave on the master side of a pseudo-terminal pair. It holds 100 coils, discrete inputs,
// holding and input registers from protocol address 0 and 400 holding registers more from 100; it counts the
// requests it receives, can stop answering (silent) and can pace its answers to a serial line's speed.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <modbus/modbus.h>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/socket.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace quillon::testing_support {

class ModbusTestServer {
public:
    enum class Kind { Tcp, Rtu };

    explicit ModbusTestServer(Kind kind, std::uint32_t paceBaud = 0) : kind_(kind), paceBaud_(paceBaud) {
        map_ = modbus_mapping_new(100, 100, 500, 100);
        if (kind == Kind::Tcp) {
            ctx_ = modbus_new_tcp("127.0.0.1", 0);
            listen_ = ctx_ != nullptr ? modbus_tcp_listen(ctx_, 1) : -1;
            sockaddr_in address{};
            socklen_t length = sizeof(address);
            if (listen_ >= 0 && ::getsockname(listen_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
                port_ = ntohs(address.sin_port);
            }
        } else {
            char name[128] = {};
            if (::openpty(&master_, &slave_, name, nullptr, nullptr) == 0) {
                termios tios{};
                ::tcgetattr(slave_, &tios);
                ::cfmakeraw(&tios);
                ::tcsetattr(slave_, TCSANOW, &tios);
                path_ = name;
                ctx_ = modbus_new_rtu("/dev/null", 19200, 'N', 8, 1);
                if (ctx_ != nullptr) {
                    modbus_set_slave(ctx_, 1);
                    modbus_set_socket(ctx_, master_);
                }
            }
        }
        thread_ = std::thread([this] { run(); });
    }
    ~ModbusTestServer() {
        stop_ = true;
        thread_.join();
        if (ctx_ != nullptr) {
            modbus_free(ctx_);
        }
        if (listen_ >= 0) {
            ::close(listen_);
        }
        if (master_ >= 0) {
            ::close(master_);
            ::close(slave_);
        }
        modbus_mapping_free(map_);
    }
    ModbusTestServer(const ModbusTestServer&) = delete;
    ModbusTestServer& operator=(const ModbusTestServer&) = delete;

    bool ready() const { return map_ != nullptr && ctx_ != nullptr && (port_ != 0 || !path_.empty()); }
    // The connection text of the simulator's settings.
    std::string address() const {
        return kind_ == Kind::Tcp ? "tcp:127.0.0.1:" + std::to_string(port_)
                                  : "rtu:" + path_ + ":19200:8N1:1";
    }
    std::uint64_t requests() const { return requests_; }
    void setSilent(bool silent) { silent_ = silent; }

    // The device's tables; guarded against the server thread.
    void setRegister(int address, std::uint16_t value) {
        const std::lock_guard lock(mutex_);
        map_->tab_registers[address] = value;
    }
    std::uint16_t holding(int address) {
        const std::lock_guard lock(mutex_);
        return map_->tab_registers[address];
    }
    void setInputRegister(int address, std::uint16_t value) {
        const std::lock_guard lock(mutex_);
        map_->tab_input_registers[address] = value;
    }
    void setCoil(int address, bool on) {
        const std::lock_guard lock(mutex_);
        map_->tab_bits[address] = on ? 1 : 0;
    }
    bool coil(int address) {
        const std::lock_guard lock(mutex_);
        return map_->tab_bits[address] != 0;
    }
    void setInput(int address, bool on) {
        const std::lock_guard lock(mutex_);
        map_->tab_input_bits[address] = on ? 1 : 0;
    }

private:
    static bool readable(int fd, int ms) {
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, ms) > 0 && (p.revents & POLLIN) != 0;
    }

    // The time a serial line takes for the request and the answer, each followed by 3.5 characters of
    // silence (10 bits a character: 8N1).
    void pace(const std::uint8_t* query, int length) const {
        if (paceBaud_ == 0 || length < 8) {
            return;
        }
        const int function = query[1];
        const int count = (query[4] << 8) | query[5];
        int answer = 8;
        if (function == 3 || function == 4) {
            answer = 5 + 2 * count;
        } else if (function == 1 || function == 2) {
            answer = 5 + (count + 7) / 8;
        }
        const double characters = length + 3.5 + answer + 3.5;
        std::this_thread::sleep_for(std::chrono::microseconds(
            static_cast<std::int64_t>(characters * 10.0 * 1e6 / static_cast<double>(paceBaud_))));
    }

    void serve(int fd) {
        std::uint8_t query[MODBUS_TCP_MAX_ADU_LENGTH];
        while (!stop_) {
            if (!readable(fd, 20)) {
                continue;
            }
            const int rc = modbus_receive(ctx_, query);
            if (rc < 0) {
                if (kind_ == Kind::Tcp) {
                    return; // the client closed: accept the next one
                }
                continue;
            }
            if (rc == 0) {
                continue;
            }
            ++requests_;
            if (silent_) {
                continue;
            }
            pace(query, rc);
            const std::lock_guard lock(mutex_);
            modbus_reply(ctx_, query, rc, map_);
        }
    }

    void run() {
        if (!ready()) {
            return;
        }
        if (kind_ == Kind::Rtu) {
            serve(master_);
            return;
        }
        while (!stop_) {
            if (!readable(listen_, 20)) {
                continue;
            }
            int socket = listen_;
            if (modbus_tcp_accept(ctx_, &socket) < 0) {
                continue;
            }
            const int client = modbus_get_socket(ctx_);
            serve(client);
            ::close(client);
        }
    }

    Kind kind_;
    std::uint32_t paceBaud_;
    modbus_mapping_t* map_ = nullptr;
    modbus_t* ctx_ = nullptr;
    int listen_ = -1;
    int master_ = -1;
    int slave_ = -1;
    std::uint16_t port_ = 0;
    std::string path_;
    std::mutex mutex_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> silent_{false};
    std::atomic<std::uint64_t> requests_{0};
    std::thread thread_;
};

} // namespace quillon::testing_support

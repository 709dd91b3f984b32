#pragma once

#include <atomic>
#include <thread>

namespace modbus {

class Server;

// Runs a listening server on a thread of its own, so that its clients are
// answered while the thread that owns the plant is busy (a cycle that plays a
// sound to its end). The server's register map must then be one that other
// threads may read while the plant moves on: PlantRegisters over a
// PlantExchange. The server's callbacks run on this thread.
class ServerThread {
public:
    // Starts serving `server`, which must be listening and outlive this object.
    explicit ServerThread(Server& server);
    // Ends the wait under way and joins the thread; the server is then the
    // owner's again (to Stop() or destroy).
    ~ServerThread();
    ServerThread(const ServerThread&) = delete;
    ServerThread& operator=(const ServerThread&) = delete;

    // The thread, for measuring its CPU time.
    std::thread::native_handle_type NativeHandle() { return thread_.native_handle(); }

private:
    void Run();

    Server& server_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace modbus

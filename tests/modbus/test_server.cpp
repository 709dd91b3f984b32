#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <atomic>
#include <future>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "modbus/ServerThread.h"
#include "tests/modbus/ModbusRig.h"

namespace {

using namespace std::chrono_literals;
using modbus_test::Frame;
using modbus_test::ModbusRig;
using modbus_test::RawClient;

const std::vector<uint8_t> kReadTotals = {4, 0x01, 0x2C, 0, 9};

// The client's own address as the server sees it.
std::string PeerOf(const RawClient& client) {
    sockaddr_in local{};
    socklen_t size = sizeof local;
    getsockname(client.Fd(), reinterpret_cast<sockaddr*>(&local), &size);
    char host[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &local.sin_addr, host, sizeof host);
    return std::string(host) + ":" + std::to_string(ntohs(local.sin_port));
}

std::vector<uint8_t> Cut(std::vector<uint8_t> bytes, std::size_t keep) {
    bytes.resize(keep);
    return bytes;
}

// Serves until the server holds `count` clients (at most a bounded number of polls).
void ServeUntilClients(ModbusRig& rig, std::size_t count) {
    for (int k = 0; k < 2000 && rig.server.ClientCount() != count; ++k) rig.server.Poll(1);
}

// Everything of the plant but the command fields, which clients may post into.
std::string TablesBesideCommands(const plant::Plant& plant) {
    std::ostringstream out;
    for (const plant::TDiscret& d : plant.Dev) {
        out << d.Kind << d.Name << d.Mode << d.State << d.Ungle << d.ErrorText << d.ActiveCommand
            << d.ActiveSource << d.CommandStep << d.Symbol << d.NameLabel << ';';
    }
    for (const plant::TRoute& r : plant.Route) {
        out << r.Panel << r.State << r.Permitted << r.Position << r.Step << ';';
        for (int32_t d : r.Devices) out << d << ',';
    }
    for (double t : plant.Tank) out << t << ';';
    for (bool o : plant.TankOverheat) out << o;
    out << plant.ShippingMassa << ';' << plant.SelectedDev;
    return out.str();
}

TEST(ServerTest, TellsTheHostOfEveryClient) {
    ModbusRig rig;
    auto client = std::make_unique<RawClient>(rig.server.Port());
    ServeUntilClients(rig, 1);
    const std::string peer = PeerOf(*client);
    EXPECT_EQ(rig.events, (std::vector<std::string>{"connected " + peer}));

    client.reset();
    ServeUntilClients(rig, 0);
    auto other = std::make_unique<RawClient>(rig.server.Port());
    ServeUntilClients(rig, 1);
    rig.server.Stop();
    EXPECT_EQ(rig.events, (std::vector<std::string>{"connected " + peer, "disconnected " + peer,
                                                    "connected " + PeerOf(*other),
                                                    "disconnected " + PeerOf(*other)}));
    EXPECT_EQ(rig.server.Port(), 0);
    EXPECT_EQ(rig.server.ClientCount(), 0u);
}

// The idle clock runs from the last complete request; half a frame does not
// reset it, and waiting for the rest of it never blocks the host.
TEST(ServerTest, DropsAClientAMinuteAfterItsLastCompleteRequest) {
    ModbusRig rig;
    RawClient client(rig.server.Port());
    ServeUntilClients(rig, 1);
    rig.now += 59s;
    rig.server.Poll(0);
    ASSERT_EQ(client.Send(Frame(kReadTotals)), 12u);
    EXPECT_EQ(client.ReceiveFrame(rig.server).size(), 27u);

    rig.now += 59s;
    ASSERT_EQ(client.Send({0x12, 0x34, 0, 0, 0}), 5u);
    for (int k = 0; k < 20; ++k) rig.server.Poll(0);
    EXPECT_EQ(rig.server.ClientCount(), 1u);

    rig.now += 1s;
    EXPECT_TRUE(client.ClosedByServer(rig.server));
    EXPECT_EQ(rig.events.back(), "disconnected " + PeerOf(client));
}

TEST(ServerTest, ClientsBeyondTheLimitAreClosedAtOnce) {
    ModbusRig rig;
    ASSERT_EQ(rig.ReadInput(300, 9).exception, 0);  // a well-behaved client
    std::vector<std::unique_ptr<RawClient>> others;
    for (int k = 0; k < 15; ++k) others.push_back(std::make_unique<RawClient>(rig.server.Port()));
    ServeUntilClients(rig, 16);
    RawClient extra(rig.server.Port());
    EXPECT_TRUE(extra.ClosedByServer(rig.server));
    EXPECT_EQ(rig.server.ClientCount(), 16u);
    EXPECT_EQ(rig.ReadInput(300, 9).exception, 0);

    // A place that frees up is taken by the next client.
    others.pop_back();
    ServeUntilClients(rig, 15);
    RawClient next(rig.server.Port());
    ServeUntilClients(rig, 16);
    ASSERT_EQ(next.Send(Frame(kReadTotals)), 12u);
    EXPECT_EQ(next.ReceiveFrame(rig.server).size(), 27u);
}

// Connections that never finish a request hold their places only until a new
// client needs one: then the one silent longest, once silent for 5 s, yields.
// A client that polls keeps its place however many come.
TEST(ServerTest, AClientSilentForFiveSecondsYieldsItsPlaceToANewOne) {
    ModbusRig rig;
    ASSERT_EQ(rig.ReadInput(300, 9).exception, 0);
    std::vector<std::unique_ptr<RawClient>> silent;
    for (int k = 0; k < 15; ++k) {
        silent.push_back(std::make_unique<RawClient>(rig.server.Port()));
        ServeUntilClients(rig, 2 + static_cast<std::size_t>(k));
        silent.back()->Send(Cut(Frame(kReadTotals), 3));  // half a header, then nothing
    }
    rig.now += 4900ms;
    RawClient early(rig.server.Port());
    EXPECT_TRUE(early.ClosedByServer(rig.server));

    rig.now += 100ms;
    ASSERT_EQ(rig.ReadInput(300, 9).exception, 0);  // the poller's request is recent
    std::vector<std::unique_ptr<RawClient>> newcomers;
    for (int k = 0; k < 20; ++k) {
        newcomers.push_back(std::make_unique<RawClient>(rig.server.Port()));
        ASSERT_EQ(newcomers.back()->Send(Frame(kReadTotals)), 12u);
        const bool served = newcomers.back()->ReceiveFrame(rig.server).size() == 27u;
        EXPECT_EQ(served, k < 15) << "newcomer " << k;
    }
    for (const auto& client : silent) EXPECT_TRUE(client->ClosedByServer(rig.server));
    EXPECT_EQ(rig.server.ClientCount(), 16u);
    EXPECT_EQ(rig.ReadInput(300, 9).exception, 0);
}

// Streams no Modbus TCP server can follow are cut off; a frame still arriving
// is waited for. Either way the other clients go on being served.
struct StreamCase {
    const char* name;
    std::vector<uint8_t> bytes;
    bool dropped;
};

class BadStreamTest : public ::testing::TestWithParam<StreamCase> {};

TEST_P(BadStreamTest, OtherClientsAreStillServed) {
    const StreamCase& c = GetParam();
    ModbusRig rig;
    ASSERT_EQ(rig.ReadInput(300, 9).exception, 0);
    RawClient raw(rig.server.Port());
    ASSERT_EQ(raw.Send(c.bytes), c.bytes.size());
    if (c.dropped) {
        EXPECT_TRUE(raw.ClosedByServer(rig.server));
    } else {
        EXPECT_TRUE(raw.Receive(rig.server, 1, 20).empty());
        EXPECT_EQ(rig.server.ClientCount(), 2u);
    }
    EXPECT_EQ(rig.ReadInput(300, 9).exception, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, BadStreamTest,
    ::testing::Values(StreamCase{"LengthZero", {0, 1, 0, 0, 0, 0}, true},
                      StreamCase{"LengthWithoutAFunction", {0, 1, 0, 0, 0, 1, 1}, true},
                      StreamCase{"LengthBeyondTheLongestFrame", {0, 1, 0, 0, 1, 7, 1, 16}, true},
                      StreamCase{"LongFrameStillArriving", {0, 1, 0, 0, 0, 255, 1, 16}, false},
                      StreamCase{"LengthFFFF", {0, 1, 0, 0, 0xFF, 0xFF, 1, 4}, true},
                      StreamCase{"NotModbusProtocol", {0, 1, 0, 1, 0, 6, 1, 4, 0, 0, 0, 1}, true},
                      StreamCase{"HalfAHeader", Cut(Frame(kReadTotals), 4), false},
                      StreamCase{"FrameCutShort", Cut(Frame(kReadTotals), 10), false}),
    [](const auto& info) { return std::string(info.param.name); });

// Thousands of well-framed requests with random contents, sent one to five at
// a time without waiting: each one is answered, in order, and nothing of the
// plant beyond the command fields changes.
TEST(ServerTest, RandomRequestsAreAllAnsweredAndTouchOnlyCommands) {
    ModbusRig rig;
    rig.Tick();
    const std::string before = TablesBesideCommands(rig.tables);
    RawClient client(rig.server.Port());
    std::mt19937 dice(20240611u);
    auto byte = [&] { return static_cast<uint8_t>(dice() & 0xFF); };
    const uint8_t functions[] = {3, 4, 6, 16, 16, 1, 5, 23};
    for (int k = 0; k < 3000;) {
        std::vector<uint8_t> burst;
        const int first = k;
        for (int n = 1 + static_cast<int>(dice() % 5); n > 0 && k < 3000; --n, ++k) {
            std::vector<uint8_t> pdu(1 + dice() % 40);
            for (uint8_t& b : pdu) b = byte();
            pdu[0] = k % 5 == 0 ? byte() : functions[dice() % std::size(functions)];
            if (pdu.size() > 2 && k % 2 == 0)
                pdu[1] = static_cast<uint8_t>(dice() % 2);  // near the map
            const std::vector<uint8_t> frame = Frame(pdu, static_cast<uint16_t>(k), byte());
            burst.insert(burst.end(), frame.begin(), frame.end());
        }
        ASSERT_EQ(client.Send(burst), burst.size());
        for (int t = first; t < k; ++t) {
            const std::vector<uint8_t> reply = client.ReceiveFrame(rig.server);
            ASSERT_GE(reply.size(), 9u) << "request " << t;
            ASSERT_EQ(reply[0] << 8 | reply[1], t);
        }
    }
    rig.exchange.TakeCommands();
    EXPECT_EQ(TablesBesideCommands(rig.tables), before);
    EXPECT_EQ(rig.ReadInput(300, 9).exception, 0);
}

// A client that keeps asking but never reads its replies fills its socket; it
// is dropped rather than waited for.
TEST(ServerTest, AClientThatTakesNoRepliesIsDropped) {
    ModbusRig rig;
    ASSERT_EQ(rig.ReadInput(300, 9).exception, 0);
    RawClient greedy(rig.server.Port(), 4096);
    ServeUntilClients(rig, 2);
    std::vector<uint8_t> burst;
    for (int k = 0; k < 100; ++k) {
        const std::vector<uint8_t> read = Frame({4, 0, 100, 0, 48});
        burst.insert(burst.end(), read.begin(), read.end());
    }
    for (int k = 0; k < 20000 && rig.server.ClientCount() == 2; ++k) {
        greedy.Send(burst);
        rig.server.Poll(0);
    }
    EXPECT_EQ(rig.server.ClientCount(), 1u);
    EXPECT_EQ(rig.events.back(), "disconnected " + PeerOf(greedy));
    EXPECT_EQ(rig.ReadInput(300, 9).exception, 0);
}

// Replies to a client that has hung up fail; they must not raise SIGPIPE,
// which would end the host.
TEST(ServerTest, AClientHangingUpWithRequestsInFlightIsJustDropped) {
    ModbusRig rig;
    auto client = std::make_unique<RawClient>(rig.server.Port());
    ServeUntilClients(rig, 1);
    std::vector<uint8_t> burst;
    for (int k = 0; k < 200; ++k) {
        const std::vector<uint8_t> read = Frame({4, 0, 0, 0, 72});
        burst.insert(burst.end(), read.begin(), read.end());
    }
    ASSERT_EQ(client->Send(burst), burst.size());
    client.reset();
    ServeUntilClients(rig, 0);
    EXPECT_EQ(rig.server.ClientCount(), 0u);
    EXPECT_EQ(rig.ReadInput(300, 9).exception, 0);
}

// The server on a thread of its own while the test's thread runs cycles as a
// console does: each block a client reads comes from one published image (the
// totals' counter and the block's cycle word agree, and the counter never goes
// back), and the commands clients write meanwhile reach the plant through the
// cycles.
TEST(ServerTest, OnItsOwnThreadEveryBlockIsOneCyclesWhileCyclesRun) {
    ModbusRig rig;
    std::atomic<int> torn{0};
    std::atomic<int> failed{0};
    auto client = [&](int device) {
        modbus_t* ctx = modbus_new_tcp("127.0.0.1", rig.server.Port());
        modbus_set_response_timeout(ctx, 5, 0);
        if (modbus_connect(ctx) != 0) {
            ++failed;
            modbus_free(ctx);
            return;
        }
        uint32_t last = 0;
        for (int k = 0; k < 200; ++k) {
            uint16_t totals[10] = {};
            uint16_t devices[73] = {};
            if (modbus_read_input_registers(ctx, 300, 10, totals) != 10 ||
                modbus_read_input_registers(ctx, 0, 73, devices) != 73 ||
                modbus_write_register(ctx, device - 1, plant::kCmdRemote) != 1) {
                ++failed;
                break;
            }
            const uint32_t counter = static_cast<uint32_t>(totals[0]) << 16 | totals[1];
            if (totals[9] != (counter & 0xFFFF) || counter < last) ++torn;
            last = counter;
        }
        modbus_close(ctx);
        modbus_free(ctx);
    };
    {
        modbus::ServerThread serving(rig.server);
        auto first = std::async(std::launch::async, client, 1);
        auto second = std::async(std::launch::async, client, 2);
        for (auto* done : {&first, &second}) {
            while (done->wait_for(0s) != std::future_status::ready) {
                rig.Tick();
                std::this_thread::sleep_for(200us);
            }
        }
    }
    rig.Tick();
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(rig.tables.Dev[1].Mode, plant::kModeRemote);
    EXPECT_EQ(rig.tables.Dev[2].Mode, plant::kModeRemote);
}

// Allow= of the console's [Modbus] section: a client from another address is
// closed as soon as it is accepted, and told of once however often it comes.
TEST(ServerTest, AllowLetsItsAddressesInAndClosesOthersToldOncePerAddress) {
    modbus::ServerOptions options = ModbusRig::Loopback();
    options.allow = std::vector<std::string>{"::1", "127.0.0.2"};
    ModbusRig rig(options);
    for (int k = 0; k < 2; ++k) {
        RawClient stranger(rig.server.Port());
        EXPECT_TRUE(stranger.ClosedByServer(rig.server)) << k;
    }
    RawClient allowed(rig.server.Port(), 0, INADDR_LOOPBACK + 1);
    ASSERT_EQ(allowed.Send(Frame(kReadTotals)), 12u);
    EXPECT_EQ(allowed.ReceiveFrame(rig.server).size(), 27u);
    EXPECT_EQ(rig.server.ClientCount(), 1u);
    EXPECT_EQ(rig.events,
              (std::vector<std::string>{"refused 127.0.0.1", "connected " + PeerOf(allowed)}));
}

TEST(ServerTest, ListenFailuresComeBackWithTheirReason) {
    ModbusRig rig;
    const uint16_t taken = rig.server.Port();
    modbus::ServerOptions options;
    options.port = taken;
    modbus::Server second(rig.registers, options);
    const modbus::ListenResult busy = second.Listen();
    EXPECT_FALSE(busy);
    EXPECT_EQ(busy.error.rfind("127.0.0.1:" + std::to_string(taken) + ": ", 0), 0u) << busy.error;
    EXPECT_EQ(second.Port(), 0);

    options.address = "localhost";
    options.port = 0;
    modbus::Server named(rig.registers, options);
    EXPECT_EQ(named.Listen().error, "localhost:0: not a numeric IP address");

    options.address = "127.0.0.1";
    options.allow = std::vector<std::string>{"127.0.0.1", "pc-7"};
    modbus::Server picky(rig.registers, options);
    EXPECT_EQ(picky.Listen().error, "Allow: pc-7: not a numeric IP address");

    const modbus::ListenResult again = rig.server.Listen();
    EXPECT_FALSE(again);
    EXPECT_NE(again.error.find("already listening"), std::string::npos);
}

}  // namespace

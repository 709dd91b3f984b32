#include "plant/MemoryDiagram.h"

namespace plant {

void MemoryDiagram::SetSymbolMode(int dev, int32_t mode) {
    ++setterCalls_;
    symbols_[Index(dev)].mode = mode;
}

void MemoryDiagram::SetSymbolState(int dev, int32_t state) {
    ++setterCalls_;
    symbols_[Index(dev)].state = state;
}

void MemoryDiagram::SetSymbolUngle(int dev, int32_t ungle) {
    ++setterCalls_;
    symbols_[Index(dev)].ungle = ungle;
}

void MemoryDiagram::SetSymbolAlarm(int dev, bool on) {
    ++setterCalls_;
    symbols_[Index(dev)].alarm = on;
}

void MemoryDiagram::SetEmergencyStopShown(bool on) {
    ++setterCalls_;
    emergencyStop_ = on;
}

void MemoryDiagram::SetPipeColored(PipeId pipe, bool colored) {
    ++setterCalls_;
    pipes_[static_cast<std::size_t>(pipe)] = colored;
}

void MemoryDiagram::SetRouteLook(int r, uint32_t colour, const std::string& hint,
                                 uint32_t fontColour) {
    ++setterCalls_;
    routes_[Index(r)] = {colour, hint, fontColour};
}

void MemoryDiagram::SetTankCaption(int n, const std::string& text) {
    ++setterCalls_;
    tanks_[Index(n)].caption = text;
}

void MemoryDiagram::SetTankGauge(int n, int percent) {
    ++setterCalls_;
    tanks_[Index(n)].gauge = percent;
}

void MemoryDiagram::SetTankFilling(int n, const std::string& text) {
    ++setterCalls_;
    tanks_[Index(n)].filling = text;
}

void MemoryDiagram::SetTankMass(int n, const std::string& text) {
    ++setterCalls_;
    tanks_[Index(n)].mass = text;
}

void MemoryDiagram::ShowTankZone(int n, LevelZone zone) {
    ++setterCalls_;
    tanks_[Index(n)].zone = zone;
}

void MemoryDiagram::SetTotalStockText(const std::string& text) {
    ++setterCalls_;
    totalText_ = text;
}

void MemoryDiagram::SetTotalStockBoard(double tonnes) {
    ++setterCalls_;
    totalBoard_ = tonnes;
}

void MemoryDiagram::SetThroughputText(const std::string& text) {
    ++setterCalls_;
    throughput_ = text;
}

void MemoryDiagram::SetShippedBoard(double tonnes) {
    ++setterCalls_;
    shippedBoard_ = tonnes;
}

}  // namespace plant

#pragma once
// Synchronous motors ("SynchronousMotors", "KelmSyncMotors"/"KelmSyncMotor")
// and asynchronous motors ("AsynchronousMotors", "KelmAsyncMotors"/"KelmAsyncMotor").
// Their running values are optional: a catalogue may not know them.

#include "core/category_collection.h"

namespace kelm {

struct TSyncMotor final : TBaseElement {
    const char* ClassName() const override { return "TSyncMotor"; }
    double Pnom = 0;         // rated power, kW
    double Performance = 0;  // efficiency, per unit
    double CosFi = 0;        // power factor
    std::int16_t n = 0;      // rotational speed, rpm
};

struct TAsyncMotor final : TBaseElement {
    const char* ClassName() const override { return "TAsyncMotor"; }
    double Pnom = 0;         // rated power, kW
    double Performance = 0;  // efficiency, per unit
    double CosFi = 0;        // power factor
    std::int16_t n = 0;      // rotational speed, rpm
    double Slip = 0;         // rated slip, %
};

const Category<TSyncMotor>& SyncMotorsCategory();
const Category<TAsyncMotor>& AsyncMotorsCategory();

class TSyncMotors : public TCategoryCollection<TSyncMotor, TXMLCustomClass> {
public:
    TSyncMotors() : TCategoryCollection(SyncMotorsCategory()) {}
};

class TAsyncMotors : public TCategoryCollection<TAsyncMotor, TXMLCustomClass> {
public:
    TAsyncMotors() : TCategoryCollection(AsyncMotorsCategory()) {}
};

}  // namespace kelm

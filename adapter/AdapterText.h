// AdapterText.h - the texts the adapter layer gives as card values (network
// type, carrier set, bus type, ...). The layer knows no string table: it asks
// the reporter the application installs (adapter/AdapterReporter.h) for them
// by these names. No Windows header, so it also builds natively.
#pragma once

enum class AdapterText
{
    Infrastructure,
    AdHoc,
    CarrierUsa,
    CarrierCanada,
    CarrierEurope,
    CarrierSpain,
    CarrierFrance,
    CarrierJapan,
    CarrierUnknown,
    NotAvailable,
    Pcmcia,
    Isa,
    NoDebugInfo,
};

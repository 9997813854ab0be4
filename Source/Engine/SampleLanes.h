#pragma once

#include <immintrin.h>

#include <cmath>
#include <type_traits>

// A voice's arithmetic is written once, over a sample type: a double for one voice, or a
// vector of doubles with one voice in each lane (GCC's vector extensions: 4 lanes with
// AVX2, 8 with AVX-512). Each lane of a vector does exactly the operations the double
// does, in the same order (the build never fuses a multiply and an add), so a voice's
// samples are the same whichever way it renders. What differs between the two is here:
// a mask is a bool or a lane of all ones or all zeros, branches become selects, and the
// rare events (an envelope changing stage, a phase far outside its cycle) are settled
// lane by lane with lane and setLane. Masks combine with & and |, never with ~ or !
// (invert serves both kinds).
//
// Everything here has internal linkage: the vector kernels are compiled for wider
// instruction sets than the rest of the program, and no function compiled for one set
// may stand in for the same function of another at link time.
#define QUENBY_LANE_INLINE static inline __attribute__ ((always_inline))
#define QUENBY_LAMBDA_INLINE __attribute__ ((always_inline))

namespace Lanes
{
    template <int N>
    struct Vectors
    {
        typedef double Double __attribute__ ((vector_size (8 * N)));
        typedef long Mask __attribute__ ((vector_size (8 * N)));      // as comparisons give them; also whole numbers
        typedef float Float __attribute__ ((vector_size (4 * N)));
        typedef int FloatMask __attribute__ ((vector_size (4 * N)));  // also 32-bit whole numbers
    };

    // What goes with a vector of doubles: its width, its masks, whole numbers and floats...
    template <typename S>
    struct Traits
    {
        static constexpr int width = (int) (sizeof (S) / sizeof (double));
        using Mask = typename Vectors<width>::Mask;
        using Float = typename Vectors<width>::Float;
        using FloatMask = typename Vectors<width>::FloatMask;
        using Int = Mask;
        using Int32 = FloatMask;
    };

    // ... and with one double.
    template <>
    struct Traits<double>
    {
        static constexpr int width = 1;
        using Mask = bool;
        using Float = float;
        using FloatMask = bool;
        using Int = int;
        using Int32 = int;
    };

    template <typename S> using Mask = typename Traits<S>::Mask;
    template <typename S> using Int = typename Traits<S>::Int;
    template <typename S> using Float = typename Traits<S>::Float;
    template <typename S> using FloatMask = typename Traits<S>::FloatMask;
    template <typename S> inline constexpr int width = Traits<S>::width;
    template <typename V> inline constexpr bool isOne = std::is_arithmetic_v<V>;

    // One lane's value, a new value for one lane, and a mask lane from a flag.
    template <typename V>
    QUENBY_LANE_INLINE auto lane (const V& v, int j) noexcept
    {
        if constexpr (isOne<V>) return v; else return v[j];
    }

    template <typename V, typename X>
    QUENBY_LANE_INLINE void setLane (V& v, int j, X x) noexcept
    {
        if constexpr (isOne<V>) v = (V) x; else v[j] = x;
    }

    template <typename M>
    QUENBY_LANE_INLINE void setMaskLane (M& m, int j, bool x) noexcept
    {
        if constexpr (isOne<M>) m = x; else m[j] = x ? -1 : 0;
    }

    // The same value in every lane (x - 0 is x exactly, even for -0 and NaN).
    template <typename S>
    QUENBY_LANE_INLINE S splat (double x) noexcept
    {
        if constexpr (isOne<S>) return x; else return x - S {};
    }

    // The lanes where the mask is not set.
    template <typename M>
    QUENBY_LANE_INLINE auto invert (M m) noexcept
    {
        if constexpr (isOne<M>) return ! m; else return ~m;
    }

    // mask ? a : b, lane by lane; keep gives the new value only where the mask is set,
    // and with masked false simply the new value.
    template <typename M, typename V>
    QUENBY_LANE_INLINE V select (M mask, V a, V b) noexcept
    {
        if constexpr (isOne<M>) return mask ? a : b; else return (V) ((mask & (M) a) | (~mask & (M) b));
    }

    template <bool masked, typename M, typename V>
    QUENBY_LANE_INLINE V keep (M mask, V newValue, V oldValue) noexcept
    {
        if constexpr (masked) return select (mask, newValue, oldValue); else return newValue;
    }

    // True when any lane of the mask is set: the lanes' sign bits gathered into an integer
    // (each width is instantiated only in the file compiled for its instruction set).
    template <typename M>
    QUENBY_LANE_INLINE bool any (M m) noexcept
    {
        constexpr int bytes = (int) sizeof (M);

        if constexpr (isOne<M>)                           return m != 0;
        else if constexpr (sizeof (m[0]) == 8 && bytes == 64) return _mm512_movepi64_mask ((__m512i) m) != 0;
        else if constexpr (sizeof (m[0]) == 8)            return _mm256_movemask_pd ((__m256d) m) != 0;
        else if constexpr (bytes == 32)                   return _mm256_movemask_ps ((__m256) m) != 0;
        else                                              return _mm_movemask_ps ((__m128) m) != 0;
    }

    // Conversions lane by lane: doubles to floats and back, between double and float masks,
    // and doubles truncated to 32-bit whole numbers and back.
    template <typename To, typename From>
    QUENBY_LANE_INLINE To convert (From x) noexcept
    {
        if constexpr (isOne<From>) return (To) x; else return __builtin_convertvector (x, To);
    }

    template <typename S> QUENBY_LANE_INLINE Float<S> toFloat (S x) noexcept                 { return convert<Float<S>> (x); }
    template <typename S> QUENBY_LANE_INLINE S toDouble (Float<S> x) noexcept                { return convert<S> (x); }
    template <typename S> QUENBY_LANE_INLINE Mask<S> widen (FloatMask<S> m) noexcept         { return convert<Mask<S>> (m); }
    template <typename S> QUENBY_LANE_INLINE FloatMask<S> narrow (Mask<S> m) noexcept        { return convert<FloatMask<S>> (m); }
    template <typename S> QUENBY_LANE_INLINE auto truncate (S x) noexcept                    { return convert<typename Traits<S>::Int32> (x); }
    template <typename S> QUENBY_LANE_INLINE S fromInt32 (typename Traits<S>::Int32 k) noexcept { return convert<S> (k); }

    // |x|, by clearing the sign.
    template <typename S>
    QUENBY_LANE_INLINE S abs (S x) noexcept
    {
        if constexpr (isOne<S>) return std::abs (x); else return (S) ((Mask<S>) x & 0x7fffffffffffffffL);
    }

    // A voice's field into lane j of the lanes' field, and back; a flag becomes a mask lane.
    template <typename V, typename X>
    QUENBY_LANE_INLINE void load (V& lanes, int j, const X& one) noexcept
    {
        if constexpr (std::is_same_v<X, bool>) setMaskLane (lanes, j, one); else setLane (lanes, j, one);
    }

    template <typename V, typename X>
    QUENBY_LANE_INLINE void store (const V& lanes, int j, X& one) noexcept
    {
        if constexpr (std::is_same_v<X, bool>) one = lane (lanes, j) != 0; else one = (X) lane (lanes, j);
    }

    // Calls f with each pair of fields of two states, one per lane and one per voice: a
    // state lists its fields once, as fields (state, f) calling f (field, field, ...).
    template <typename A, typename B, typename Function>
    QUENBY_LANE_INLINE void forEachPair (A& a, B& b, Function&& f) noexcept
    {
        fields (a, [&] (auto&... x) QUENBY_LAMBDA_INLINE {
            fields (b, [&] (auto&... y) QUENBY_LAMBDA_INLINE { (f (x, y), ...); });
        });
    }
}

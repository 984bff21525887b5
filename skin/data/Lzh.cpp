#include "skin/data/Lzh.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "skin/data/ElzhException.h"
#include "skin/data/LzhTree.h"

namespace {

using namespace lzh;

// Most significant bit first, held in one register-sized word; past the end of the input
// every byte reads as zero.
class BitStream {
 public:
  using Word = std::size_t;
  static constexpr int kWordBits = sizeof(Word) * 8;
  static constexpr int kRefilled = kWordBits - 8;  // bits a refill guarantees at least

  explicit BitStream(std::span<const std::uint8_t> in)
      : next_(in.data()), end_(in.data() + in.size()) {}

  void Refill() {
    if (static_cast<std::size_t>(end_ - next_) >= sizeof(Word)) {
      Word word;
      std::memcpy(&word, next_, sizeof word);
      if constexpr (sizeof(Word) == 8) {
        word = __builtin_bswap64(word);
      } else {
        word = __builtin_bswap32(word);
      }
      buffer_ |= word >> count_;
      next_ += (kWordBits - 1 - count_) >> 3;
      count_ |= kRefilled;
      return;
    }
    while (count_ <= kRefilled) {
      const Word byte = next_ < end_ ? *next_++ : 0;
      buffer_ |= byte << (kRefilled - count_);
      count_ += 8;
    }
  }
  int Count() const { return count_; }
  Word Bits() const { return buffer_; }  // the next bits, from the most significant one
  unsigned Peek(int n) const { return static_cast<unsigned>(buffer_ >> (kWordBits - n)); }
  void Skip(int n) {
    buffer_ <<= n;
    count_ -= n;
  }
  int Bit() {
    if (count_ == 0) Refill();
    const int bit = static_cast<int>(buffer_ >> (kWordBits - 1));
    Skip(1);
    return bit;
  }

 private:
  const std::uint8_t* next_;
  const std::uint8_t* end_;
  Word buffer_ = 0;
  int count_ = 0;
};

// The decoder's own copy of the tree: the same nodes in the same order, but a leaf's son is
// kNodes + 2 * symbol, so that a swap writes the parent of both sons without asking whether they
// are a leaf (whether they are cannot be predicted; for a leaf the second write lands in a slot
// nobody reads). The rare rebuild goes through the shared tree.
struct FastTree {
  std::uint16_t freq[kNodes + 1];
  std::int16_t son[kNodes];
  std::int16_t parent[kNodes + 2 * kSymbols];

  void From(const Tree& t) {
    std::memcpy(freq, t.freq, sizeof freq);
    for (int i = 0; i < kNodes; ++i) {
      const int s = t.son[i];
      son[i] = static_cast<std::int16_t>(s < kNodes ? s : kNodes + 2 * (s - kNodes));
      parent[son[i]] = parent[son[i] + 1] = static_cast<std::int16_t>(i);
    }
    parent[kRoot] = 0;
  }
  void To(Tree& t) const {
    std::memcpy(t.freq, freq, sizeof freq);
    for (int i = 0; i < kNodes; ++i) {
      const int s = son[i];
      t.son[i] = static_cast<std::int16_t>(s < kNodes ? s : kNodes + (s - kNodes) / 2);
    }
  }
};

// The first kTopBits bits of a code looked up at once: an entry says which node position
// those bits lead to from the root and how many of them the path took (fewer when it met a
// leaf). The tree changes shape with every swap, but an entry stays right as long as no node
// whose children it read was swapped, so each node keeps the set of entries that read it.
// Entries are built again when next needed.
class TopLevels {
 public:
  static constexpr int kTopBits = 5;  // a set of entries fits one 32-bit word

  struct Entry {
    std::int16_t node = kRoot;  // where the walk goes on, or the leaf it met
    std::uint8_t used = 0;      // bits of the prefix taken
    std::uint8_t reads = 0;     // nodes whose children the entry read, in `read`
    std::int16_t read[kTopBits + 1] = {};
  };

  const Entry& Lookup(const FastTree& tree, unsigned prefix) {
    if (!(valid_ >> prefix & 1)) Build(tree, prefix);
    return entries_[prefix];
  }
  void Swapped(int a, int b) { valid_ &= ~(readers_[a] | readers_[b]); }
  void InvalidateAll() { valid_ = 0; }

 private:
  void Build(const FastTree& tree, unsigned prefix) {
    Entry& e = entries_[prefix];
    const std::uint32_t self = std::uint32_t{1} << prefix;
    for (int i = 0; i < e.reads; ++i) readers_[e.read[i]] &= ~self;
    int p = kRoot;
    int used = 0;
    e.reads = 0;
    while (true) {
      const int s = tree.son[p];
      e.read[e.reads++] = static_cast<std::int16_t>(p);
      readers_[p] |= self;
      if (s >= kNodes) break;
      p = s + ((prefix >> (kTopBits - 1 - used)) & 1);
      if (++used == kTopBits) break;
    }
    e.node = static_cast<std::int16_t>(p);
    e.used = static_cast<std::uint8_t>(used);
    valid_ |= self;
  }

  Entry entries_[1 << kTopBits];
  std::uint32_t valid_ = 0;
  std::uint32_t readers_[kNodes] = {};  // entries that read each node's children
};

// For every frequency up to the root's, the last position whose frequency is at most that.
// For a frequency some node has, that is where its block of equal frequencies ends, which is
// where counting a node first moves it: a scan for it has an unpredictable length, a lookup
// is one read. Counting the node at c, the end of block f, changes only the entry of f (the
// entry of f + 1 stays right whether or not some node had f + 1), so each level costs one write.
struct BlockEnds {
  std::int16_t end[kMaxFreq + 1];

  void Recount(const FastTree& tree) {
    for (int i = 0; i < kRoot; ++i) {
      for (unsigned f = tree.freq[i]; f < tree.freq[i + 1]; ++f) {
        end[f] = static_cast<std::int16_t>(i);
      }
    }
    end[tree.freq[kRoot]] = kRoot;
  }
};

// Everything one decoding run allocates; left uninitialised where Start writes it anyway.
struct DecoderTables {
  FastTree tree;
  TopLevels top;
  BlockEnds ends;

  void Start() {
    Tree t;
    t.Start();
    tree.From(t);
    ends.Recount(tree);
    top.InvalidateAll();
  }
  void Rebuild() {
    Tree t;
    tree.To(t);
    t.Rebuild();
    tree.From(t);
    ends.Recount(tree);
    top.InvalidateAll();
  }
};

// Tree::Update from the leaf at position c (the caller rebuilds first when due), with the block
// ends at hand and the lookup table told of every swap; the tree comes out the same. Kept out
// of line: inside the decoding loop the 32-bit build runs out of registers and keeps the
// tables' address on the stack.
__attribute__((noinline)) void Count(DecoderTables& d, int c) {
  FastTree& t = d.tree;
  do {
    unsigned f = t.freq[c];
    if (f == t.freq[c + 1]) {
      const int l = d.ends.end[f];
      const int i = t.son[c];
      const int j = t.son[l];
      t.son[l] = static_cast<std::int16_t>(i);
      t.son[c] = static_cast<std::int16_t>(j);
      t.parent[i] = t.parent[i + 1] = static_cast<std::int16_t>(l);
      t.parent[j] = t.parent[j + 1] = static_cast<std::int16_t>(c);
      d.top.Swapped(c, l);
      c = l;
      f = t.freq[c];  // the same frequency: reading it again spares a register
    }
    t.freq[c] = static_cast<std::uint16_t>(f + 1);
    d.ends.end[f] = static_cast<std::int16_t>(c - 1);
    c = t.parent[c];
  } while (c != 0);
  // The root, last of all, now counts one more.
  d.ends.end[t.freq[kRoot]] = kRoot;
}

// Before the first output byte the ring holds 4036 spaces, then 60 zero bytes where writing
// starts; a match that reaches back before the output reads them.
std::uint8_t InitialRing(std::ptrdiff_t before) {  // -4096 .. -1
  return before < -(kRing - kLookAhead) ? 0 : ' ';
}

// Smallest whole number of repeats of a pattern of 1 to 7 bytes that is at least 8 bytes.
constexpr std::uint8_t kWholeRepeats[8] = {0, 8, 8, 9, 8, 10, 12, 14};

// Copies `length` bytes from `distance` back (inside the output) to `to`, eight at a time; may
// write up to 15 bytes past the end. Every word read lies far enough back to be written
// already: at the distance itself when that is 8 or more, else at a whole number of repeats of
// the pattern the first eight bytes (copied one by one) lay down.
void CopyMatch(std::uint8_t* to, std::ptrdiff_t distance, std::ptrdiff_t length) {
  std::ptrdiff_t k = 0;
  std::ptrdiff_t back = distance;
  if (distance < 8) {
    for (; k < 8; ++k) to[k] = to[k - distance];
    back = kWholeRepeats[distance];
  }
  for (; k < length; k += 8) std::memcpy(to + k, to + k - back, 8);
}

class BitWriter {
 public:
  explicit BitWriter(std::size_t expected) { out_.reserve(expected); }
  void Put(unsigned bits, int count) {  // the low `count` bits, most significant first
    for (int i = count - 1; i >= 0; --i) {
      current_ = static_cast<std::uint8_t>((current_ << 1) | ((bits >> i) & 1));
      if (++filled_ == 8) {
        out_.push_back(current_);
        current_ = 0;
        filled_ = 0;
      }
    }
  }
  std::vector<std::uint8_t> Finish() {
    if (filled_ > 0) out_.push_back(static_cast<std::uint8_t>(current_ << (8 - filled_)));
    return std::move(out_);
  }

 private:
  std::vector<std::uint8_t> out_;
  std::uint8_t current_ = 0;
  int filled_ = 0;
};

template <typename T>
std::unique_ptr<T> AllocateTables() {
  try {
    return std::make_unique_for_overwrite<T>();
  } catch (const std::bad_alloc&) {
    throw ElzhException("LZH : Cannot get memory for dictionary tables");
  }
}

}  // namespace

std::vector<std::uint8_t> TLZH::Unpack(std::span<const std::uint8_t> source, std::uint32_t size) {
  const auto tables = AllocateTables<DecoderTables>();
  DecoderTables& d = *tables;
  d.Start();
  // Room for CopyMatch to run past the end; the resize at the end gives it back unmoved.
  constexpr std::size_t kSlack = 16;
  std::vector<std::uint8_t> out(std::size_t{size} + kSlack);
  // The output itself is the history: every match distance (at most 4096) stays inside the
  // last 4096 bytes, which a ring of that size would hold.
  std::uint8_t* const begin = out.data();
  std::uint8_t* const end = begin + size;
  std::uint8_t* o = begin;
  BitStream bits(source);
  while (o != end) {
    bits.Refill();
    // The rest of the path is walked in a copy of the buffered bits, with no count per bit;
    // past them the copy reads zeros, so a code longer than that is walked again bit by bit.
    BitStream::Word w = bits.Bits();
    const TopLevels::Entry& e =
        d.top.Lookup(d.tree, w >> (BitStream::kWordBits - TopLevels::kTopBits));
    int used = e.used;
    w <<= used;
    int p = e.node;
    int s = d.tree.son[p];
    while (s < kNodes) {
      p = s + static_cast<int>(w >> (BitStream::kWordBits - 1));
      w <<= 1;
      ++used;
      s = d.tree.son[p];
    }
    if (used <= bits.Count()) {
      bits.Skip(used);
    } else {
      p = kRoot;
      s = d.tree.son[p];
      while (s < kNodes) {
        p = s + bits.Bit();
        s = d.tree.son[p];
      }
    }
    const int c = (s - kNodes) >> 1;
    if (d.tree.freq[kRoot] == kMaxFreq) {
      d.Rebuild();
      p = d.tree.parent[s];
    }
    Count(d, p);
    if (c < 256) {
      *o++ = static_cast<std::uint8_t>(c);
      continue;
    }
    if (bits.Count() < 14) bits.Refill();
    const unsigned first = bits.Peek(8);
    const int codeBits = kPositions.len[first] + 6;
    const unsigned position = kPositions.code[first] << 6 | (bits.Peek(codeBits) & 0x3F);
    bits.Skip(codeBits);
    const std::ptrdiff_t distance = position + 1;
    const std::ptrdiff_t length = std::min<std::ptrdiff_t>(c - 255 + kThreshold, end - o);
    const std::ptrdiff_t from = (o - begin) - distance;
    if (from >= 0) {
      CopyMatch(o, distance, length);
    } else {
      for (std::ptrdiff_t k = 0; k < length; ++k) {
        o[k] = from + k < 0 ? InitialRing(from + k) : begin[from + k];
      }
    }
    o += length;
  }
  out.resize(size);
  return out;
}

std::vector<std::uint8_t> TLZH::Pack(std::span<const std::uint8_t> data) {
  const auto tree = AllocateTables<Tree>();
  tree->Start();
  // Incompressible data comes out about as long as it went in: room for that up front, so that
  // the output does not pass through copies twice its size.
  BitWriter out(data.size() + data.size() / 8 + 16);
  auto encodeSymbol = [&](int c) {
    // Walk leaf to root, then write the path from the root down.
    std::uint8_t path[kNodes];
    int depth = 0;
    int k = tree->parent[c + kNodes];
    do {
      path[depth++] = static_cast<std::uint8_t>(k & 1);
      k = tree->parent[k];
    } while (k != kRoot);
    for (int i = depth - 1; i >= 0; --i) out.Put(path[i], 1);
    tree->Update(c);
  };
  // Hash chains over the last window only: `head` holds the latest position of each hash of
  // three bytes, `previous` the one before it with the same hash. Both have fixed sizes and a
  // chain walk stops after kMaxTries candidates, so memory and time per byte stay bounded
  // whatever the data.
  constexpr std::size_t kWindow = kRing - kLookAhead;
  constexpr int kHashBits = 15;
  constexpr int kMaxTries = 64;
  constexpr std::uint32_t kNone = 0xFFFFFFFF;
  std::vector<std::uint32_t> head(std::size_t{1} << kHashBits, kNone);
  std::vector<std::uint32_t> previous(kRing, kNone);
  auto hash = [&](std::size_t i) {
    const std::uint32_t key = data[i] | data[i + 1] << 8 | data[i + 2] << 16;
    return (key * 2654435761u) >> (32 - kHashBits);
  };
  std::size_t i = 0;
  while (i < data.size()) {
    std::size_t bestLen = 0, bestDist = 0;
    if (i + kThreshold < data.size()) {
      std::uint32_t candidate = head[hash(i)];
      for (int tries = 0; candidate != kNone && tries < kMaxTries; ++tries) {
        const std::size_t dist = i - candidate;
        if (dist > kWindow) break;
        std::size_t len = 0;
        while (len < kLookAhead && i + len < data.size() &&
               data[candidate + len] == data[i + len]) {
          ++len;
        }
        if (len > bestLen) {
          bestLen = len;
          bestDist = dist;
          if (len == kLookAhead) break;
        }
        candidate = previous[candidate % kRing];
      }
    }
    const std::size_t step = bestLen > kThreshold ? bestLen : 1;
    if (bestLen > kThreshold) {
      encodeSymbol(static_cast<int>(255 - kThreshold + bestLen));
      const unsigned position = static_cast<unsigned>(bestDist - 1);
      const unsigned high = position >> 6;
      out.Put(kPositions.pcode[high] >> (8 - kPositions.plen[high]), kPositions.plen[high]);
      out.Put(position & 0x3F, 6);
    } else {
      encodeSymbol(data[i]);
    }
    for (std::size_t k = 0; k < step; ++k, ++i) {
      if (i + kThreshold >= data.size()) continue;
      std::uint32_t& h = head[hash(i)];
      previous[i % kRing] = h;
      h = static_cast<std::uint32_t>(i);
    }
  }
  return out.Finish();
}

// A list that any thread may ask to change while one thread (the render thread) walks it without
// a lock. Requests are nodes pushed on a pending stack; the walking thread applies them (Update)
// before it walks. Nodes are recycled through a free stack and only freed with the list, so a
// node is never released while the walking thread may hold it. Every stack is a single head
// changed by compare-and-swap; taking a whole stack at once leaves no room for the ABA problem.
#pragma once

#include "platform/MacTypes.h"

#include <atomic>
#include <cstdlib>
#include <new>
#include <type_traits>

template <typename T> class TThreadSafeList
{
    // Nodes are raw blocks that are copied into and never destroyed.
    static_assert(std::is_trivially_copyable_v<T>);

public:
    enum EEventType : UInt32
    {
        kAdd = 0,
        kRemove = 1,
    };

    struct Node
    {
        Node* mNext;
        EEventType mEventType;
        T mObject;
    };

    TThreadSafeList() = default;
    ~TThreadSafeList()
    {
        FreeChain(mActiveList);
        FreeChain(mPendingList.TakeAll());
        FreeChain(mFreeList.TakeAll());
    }

    /** Any thread. Throws std::bad_alloc when no node can be had. */
    void deferred_add(const T& object) { mPendingList.Push(MakeNode(kAdd, object)); }
    /** Any thread. Throws std::bad_alloc when no node can be had. */
    void deferred_remove(const T& object) { mPendingList.Push(MakeNode(kRemove, object)); }

    /** Walking thread only: applies the requests, oldest first. An add of an object already in
        the list and a remove of one not in it change nothing. */
    void Update()
    {
        Node* request = Reversed(mPendingList.TakeAll());
        while (request != nullptr)
        {
            Node* const next = request->mNext;
            if (request->mEventType == kAdd)
                Append(request);
            else
                Remove(request);
            request = next;
        }
    }

    class const_iterator
    {
    public:
        explicit const_iterator(const Node* node) : mNode(node) {}
        const T& operator*() const { return mNode->mObject; }
        const_iterator& operator++()
        {
            mNode = mNode->mNext;
            return *this;
        }
        bool operator!=(const const_iterator& other) const { return mNode != other.mNode; }

    private:
        const Node* mNode;
    };

    /** Walking thread only: the objects in force, in the order they were added. */
    const_iterator begin() const { return const_iterator(mActiveList); }
    const_iterator end() const { return const_iterator(nullptr); }

    TThreadSafeList(const TThreadSafeList&) = delete;
    TThreadSafeList& operator=(const TThreadSafeList&) = delete;

private:
    class NodeStack
    {
    public:
        void Push(Node* node) { PushChain(node, node); }

        /** Pushes first .. last, already linked, in one step. */
        void PushChain(Node* first, Node* last)
        {
            last->mNext = mHead.load(std::memory_order_relaxed);
            while (!mHead.compare_exchange_weak(last->mNext, first, std::memory_order_acq_rel,
                                                std::memory_order_relaxed))
            {
            }
        }

        Node* TakeAll() { return mHead.exchange(nullptr, std::memory_order_acq_rel); }

    private:
        std::atomic<Node*> mHead{nullptr};
    };

    Node* AllocNode()
    {
        Node* node = mFreeList.TakeAll();
        if (node == nullptr)
        {
            node = static_cast<Node*>(std::malloc(sizeof(Node)));
            if (node == nullptr)
                throw std::bad_alloc();
            return node;
        }
        // Keep the first node and give the rest back in one piece.
        if (Node* rest = node->mNext)
        {
            Node* last = rest;
            while (last->mNext != nullptr)
                last = last->mNext;
            mFreeList.PushChain(rest, last);
        }
        return node;
    }

    void FreeNode(Node* node) { mFreeList.Push(node); }

    Node* MakeNode(EEventType type, const T& object)
    {
        Node* node = AllocNode();
        node->mNext = nullptr;
        node->mEventType = type;
        new (&node->mObject) T(object);
        return node;
    }

    static Node* Reversed(Node* chain)
    {
        Node* reversed = nullptr;
        while (chain != nullptr)
        {
            Node* const next = chain->mNext;
            chain->mNext = reversed;
            reversed = chain;
            chain = next;
        }
        return reversed;
    }

    void Append(Node* request)
    {
        Node** link = &mActiveList;
        for (; *link != nullptr; link = &(*link)->mNext)
            if ((*link)->mObject == request->mObject)
            {
                FreeNode(request);
                return;
            }
        request->mNext = nullptr;
        *link = request;
    }

    void Remove(Node* request)
    {
        for (Node** link = &mActiveList; *link != nullptr; link = &(*link)->mNext)
            if ((*link)->mObject == request->mObject)
            {
                Node* const found = *link;
                *link = found->mNext;
                FreeNode(found);
                break;
            }
        FreeNode(request);
    }

    static void FreeChain(Node* chain)
    {
        while (chain != nullptr)
        {
            Node* const next = chain->mNext;
            std::free(chain);
            chain = next;
        }
    }

    /** Touched by the walking thread only. */
    Node* mActiveList = nullptr;
    NodeStack mPendingList;
    NodeStack mFreeList;
};
